#include "calendar/HolidayData.h"

#include <cJSON.h>

#include <cstdint>
#include <cwchar>
#include <memory>

std::wstring HolidayDateKey(int year, int month, int day) {
    wchar_t key[48] = {};
    std::swprintf(key, sizeof(key) / sizeof(key[0]), L"%d-%d-%d", year, month, day);
    return key;
}

namespace {

// UTF-8 to the platform's wide text (UTF-16 with 2-byte wchar_t); a malformed sequence becomes U+FFFD.
std::wstring WideFromUtf8(const char* text) {
    std::wstring out;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        uint32_t cp = 0xFFFD;
        int extra = 0;
        if (*p < 0x80) {
            cp = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            cp = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            cp = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            cp = *p & 0x07;
            extra = 3;
        }
        ++p;
        for (int i = 0; i < extra; ++i, ++p) {
            if ((*p & 0xC0) != 0x80) {
                cp = 0xFFFD;
                break;
            }
            cp = cp << 6 | (*p & 0x3F);
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            cp = 0xFFFD;
        }
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0x10000) {
                cp -= 0x10000;
                out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
                out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
                continue;
            }
        }
        out.push_back(static_cast<wchar_t>(cp));
    }
    return out;
}

std::wstring StringMember(const cJSON* object, const char* name) {
    const cJSON* item = cJSON_GetObjectItem(object, name);
    return cJSON_IsString(item) && item->valuestring ? WideFromUtf8(item->valuestring) : std::wstring();
}

void ReadDaySet(const cJSON* root, const char* name, HolidayDaySet& set) {
    set.clear();
    const cJSON* list = cJSON_GetObjectItem(root, name);
    if (!cJSON_IsArray(list)) {
        return;
    }
    const int count = cJSON_GetArraySize(list);
    for (int i = 0; i < count; ++i) {
        const cJSON* item = cJSON_GetArrayItem(list, i);
        set[cJSON_IsString(item) && item->valuestring ? WideFromUtf8(item->valuestring) : std::wstring()] = 1;
    }
}

} // namespace

bool ApplyHolidayFile(const std::string& body, HolidayData& data) {
    std::unique_ptr<cJSON, decltype(&cJSON_Delete)> root(cJSON_Parse(body.c_str()), &cJSON_Delete);
    if (!root) {
        return false;
    }
    ReadDaySet(root.get(), "rest", data.rest);
    ReadDaySet(root.get(), "work", data.work);
    data.solarTermYear.clear();
    const cJSON* terms = cJSON_GetObjectItem(root.get(), "solar_terms");
    if (cJSON_IsObject(terms)) {
        data.solarTermYear = StringMember(terms, "year");
        const cJSON* list = cJSON_GetObjectItem(terms, "data");
        const int count = cJSON_IsArray(list) ? cJSON_GetArraySize(list) : 0;
        for (int i = 0; i < count; ++i) {
            const cJSON* term = cJSON_GetArrayItem(list, i);
            if (cJSON_IsObject(term)) {
                data.solarTerms.emplace(StringMember(term, "date"), StringMember(term, "name"));
            }
        }
    }
    return true;
}
