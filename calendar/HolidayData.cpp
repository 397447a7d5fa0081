#include "calendar/HolidayData.h"

#include <cJSON.h>

#include <cwchar>

#include "net/JsonReader.h"

std::wstring HolidayDateKey(int year, int month, int day) {
    wchar_t key[48] = {};
    std::swprintf(key, sizeof(key) / sizeof(key[0]), L"%d-%d-%d", year, month, day);
    return key;
}

namespace {

std::wstring StringMember(const cJSON* object, const char* name) {
    const cJSON* item = cJSON_GetObjectItem(object, name);
    return cJSON_IsString(item) && item->valuestring ? Utf8ToWide(item->valuestring) : std::wstring();
}

void ReadDaySet(const cJSON* root, const char* name, HolidayDaySet& set) {
    set.clear();
    const cJSON* list = cJSON_GetObjectItem(root, name);
    if (!cJSON_IsArray(list)) {
        return;
    }
    // Walked by its links: a look-up by position starts from the head every time.
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, list) {
        set[cJSON_IsString(item) && item->valuestring ? Utf8ToWide(item->valuestring) : std::wstring()] = 1;
    }
}

// Absent, or of the type asked for.
bool AbsentOr(const cJSON* item, int type) {
    return !item || (item->type & 0xFF) == type;
}

bool IsStringList(const cJSON* list) {
    if (!AbsentOr(list, cJSON_Array)) {
        return false;
    }
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, list) {
        if (!cJSON_IsString(item)) {
            return false;
        }
    }
    return true;
}

bool IsSolarTerms(const cJSON* terms) {
    if (!terms) {
        return true;
    }
    const cJSON* list = cJSON_GetObjectItem(terms, "data");
    if (!cJSON_IsObject(terms) || !AbsentOr(cJSON_GetObjectItem(terms, "year"), cJSON_String) ||
        !AbsentOr(list, cJSON_Array)) {
        return false;
    }
    const cJSON* term = nullptr;
    cJSON_ArrayForEach(term, list) {
        if (!cJSON_IsObject(term) || !AbsentOr(cJSON_GetObjectItem(term, "date"), cJSON_String) ||
            !AbsentOr(cJSON_GetObjectItem(term, "name"), cJSON_String)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool ApplyHolidayFile(const std::string& body, HolidayData& data) {
    const JsonTree root = JsonParseWhole(body);
    if (!cJSON_IsObject(root.get())) {
        return false;
    }
    ReadDaySet(root.get(), "rest", data.rest);
    ReadDaySet(root.get(), "work", data.work);
    data.solarTermYear.clear();
    const cJSON* terms = cJSON_GetObjectItem(root.get(), "solar_terms");
    if (cJSON_IsObject(terms)) {
        data.solarTermYear = StringMember(terms, "year");
        const cJSON* list = cJSON_GetObjectItem(terms, "data");
        const cJSON* term = nullptr;
        if (!cJSON_IsArray(list)) {
            list = nullptr;
        }
        cJSON_ArrayForEach(term, list) {
            if (cJSON_IsObject(term)) {
                data.solarTerms.emplace(StringMember(term, "date"), StringMember(term, "name"));
            }
        }
    }
    return true;
}

bool IsCompleteHolidayFile(const std::string& body) {
    const JsonTree root = JsonParseWhole(body);
    return cJSON_IsObject(root.get()) && IsStringList(cJSON_GetObjectItem(root.get(), "rest")) &&
           IsStringList(cJSON_GetObjectItem(root.get(), "work")) &&
           IsSolarTerms(cJSON_GetObjectItem(root.get(), "solar_terms"));
}
