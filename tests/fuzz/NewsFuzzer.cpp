// The news answer reader over arbitrary bytes. A refused answer must leave the held list as it was; an
// accepted one holds at most three items, none with a picture file yet.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "news/NewsParse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<NewsItem> held{{L"src", L"url", L"title", L"picture"}};
    std::vector<NewsItem> items = held;
    if (!ParseNews({kHttpTaskFinished, 200, {reinterpret_cast<const char*>(data), size}}, items)) {
        if (items != held) {
            std::abort();
        }
        return 0;
    }
    if (items.size() > kNewsMaxItems) {
        std::abort();
    }
    for (const NewsItem& item : items) {
        if (!item.pictureFile.empty() || item.NeedsPicture() == item.src.empty()) {
            std::abort();
        }
    }
    return 0;
}
