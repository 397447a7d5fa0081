#include "news/NewsParse.h"

#include <cJSON.h>

#include "net/JsonReader.h"

namespace {

std::wstring Member(const cJSON* object, const char* key) {
    return JsonGetWideText(object, key, L"", kJsonCodePageUtf8);
}

} // namespace

bool ParseNews(const HttpAnswer& answer, std::vector<NewsItem>& items) {
    const JsonTree root = ParseJsonAnswer(answer);
    if (!cJSON_IsObject(root.get())) {
        return false;
    }
    const cJSON* error = cJSON_GetObjectItem(root.get(), "errno");
    const cJSON* data = cJSON_GetObjectItem(root.get(), "data");
    if ((error && (!cJSON_IsNumber(error) || error->valuedouble != 0)) || !cJSON_IsArray(data)) {
        return false;
    }
    std::vector<NewsItem> parsed;
    size_t counted = 0;
    const cJSON* entry = nullptr;
    cJSON_ArrayForEach(entry, data) {
        if (counted++ == kNewsMaxItems) {
            break;
        }
        if (cJSON_IsObject(entry)) {
            parsed.push_back(NewsItem{Member(entry, "src"), Member(entry, "url"), Member(entry, "title"), {}});
        }
    }
    items = std::move(parsed);
    return true;
}
