// The area directory reader over arbitrary bytes at the province and the town level. A refused answer must
// leave the held list as it was; an accepted one keeps only listed provinces, and no more of them than the
// same body gives as towns.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "weather/AreaParse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const HttpAnswer answer{kHttpTaskFinished, 200, {reinterpret_cast<const char*>(data), size}};
    const AreaEntryList held{{L"北京", L"11"}};
    AreaEntryList provinces = held;
    AreaEntryList towns = held;
    const bool provincesRead = ParseAreaList(answer, AreaLevel::Province, provinces);
    const bool townsRead = ParseAreaList(answer, AreaLevel::Town, towns);
    if (provincesRead != townsRead || (!provincesRead && (provinces != held || towns != held))) {
        std::abort();
    }
    for (const AreaEntry& province : provinces) {
        if (province.name.empty() || province.code.empty() || province.name == L"PROVCN" || province.code == L"EA") {
            std::abort();
        }
    }
    if (provincesRead && provinces.size() > towns.size()) {
        std::abort();
    }
    return 0;
}
