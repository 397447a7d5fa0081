#include "weather/WeatherParse.h"

#include <cJSON.h>

#include <utility>

#include "net/JsonReader.h"
#include "weather/DecimalPrefix.h"

namespace {

constexpr const char* kDayPartNames[] = {"dawn", "day", "night"};

std::wstring TextOf(const cJSON* item) {
    return cJSON_IsString(item) && item->valuestring ? Utf8ToWide(item->valuestring) : std::wstring();
}

std::wstring Member(const cJSON* object, const char* key) {
    return JsonGetWideText(object, key, L"", kJsonCodePageUtf8);
}

// A member that must be of one type (cJSON_Array, cJSON_Object) when present; false when it is there with
// another.
bool OptionalMember(const cJSON* root, const char* key, int type, const cJSON*& member) {
    member = cJSON_GetObjectItem(root, key);
    return !member || (member->type & 0xFF) == type;
}

std::wstring Element(const cJSON* list, int index) {
    return JsonGetWideText(list, index, L"", kJsonCodePageUtf8);
}

// The area pairs of province, city and town; a pair that is not an array counts as missing.
void ReadArea(const cJSON* area, WeatherAnswer& out) {
    const cJSON* province = cJSON_GetArrayItem(area, 0);
    const cJSON* city = cJSON_GetArrayItem(area, 1);
    const cJSON* town = cJSON_GetArrayItem(area, 2);
    if (cJSON_IsArray(province)) {
        out.data.provinceCode = Element(province, 1);
    }
    if (cJSON_IsArray(city)) {
        out.data.cityCode = Element(city, 1);
    }
    if (cJSON_IsArray(town)) {
        out.data.townName = Element(town, 0);
        out.data.townCode = Element(town, 1);
        out.townCode = out.data.townCode;
    }
}

DayPart ReadDayPart(const cJSON* list) {
    DayPart part;
    size_t index = 0;
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, list) {
        if (index == part.size()) {
            break;
        }
        part[index++] = TextOf(item);
    }
    return part;
}

void ReadDays(const cJSON* days, WeatherData& data) {
    const cJSON* day = nullptr;
    cJSON_ArrayForEach(day, days) {
        const cJSON* info = cJSON_IsObject(day) ? cJSON_GetObjectItem(day, "info") : nullptr;
        if (!cJSON_IsObject(info)) {
            continue;
        }
        ForecastDay forecast;
        forecast.date = Member(day, "date");
        for (const char* name : kDayPartNames) {
            const cJSON* part = cJSON_GetObjectItem(info, name);
            if (cJSON_IsArray(part)) {
                forecast.parts[Utf8ToWide(name)] = ReadDayPart(part);
            }
        }
        data.days.push_back(std::move(forecast));
    }
}

void ReadRealtime(const cJSON* realtime, RealtimeWeather& now) {
    now.date = Member(realtime, "date");
    now.time = Member(realtime, "time");
    // The week comes as a number or as a number in text.
    now.week = JsonGetInt(realtime, "week", -1);
    if (now.week == -1) {
        now.week = DecimalPrefix(JsonGetWideText(realtime, "week", L"-1", kJsonCodePageUtf8));
    }
    const cJSON* weather = cJSON_GetObjectItem(realtime, "weather");
    now.temperature = Member(weather, "temperature");
    now.info = Member(weather, "info");
    now.humidity = Member(weather, "humidity");
    const cJSON* wind = cJSON_GetObjectItem(realtime, "wind");
    now.windDirect = Member(wind, "direct");
    now.windPower = Member(wind, "power");
}

void ReadAirQuality(const cJSON* air, RealtimeWeather& now) {
    const cJSON* values = cJSON_GetObjectItem(air, "pm25");
    if (!values) {
        now.pm25 = -1;
        now.airLabel = L"暂无空气质量数据";
        return;
    }
    now.pm25 = cJSON_IsArray(values) ? JsonGetInt(values, 0, 0) : 0;
    now.airLabel = AirQualityLabel(now.pm25);
}

} // namespace

std::wstring AirQualityLabel(int pm25) {
    struct Band {
        int below;
        const wchar_t* label;
    };
    static constexpr Band kBands[] = {
        {50, L"空气清新"},  {100, L"空气良好"}, {150, L"轻度污染"},
        {200, L"中度污染"}, {300, L"重度污染"}, {500, L"严重污染"},
    };
    if (pm25 < 0) {
        return {};
    }
    for (const Band& band : kBands) {
        if (pm25 < band.below) {
            return band.label;
        }
    }
    return {};
}

bool ParseWeatherAnswer(const HttpAnswer& answer, WeatherAnswer& out) {
    const JsonTree root = ParseJsonAnswer(answer);
    if (!cJSON_IsObject(root.get()) || cJSON_GetObjectItem(root.get(), "error")) {
        return false;
    }
    const cJSON* area = nullptr;
    const cJSON* days = nullptr;
    const cJSON* realtime = nullptr;
    const cJSON* air = nullptr;
    if (!OptionalMember(root.get(), "area", cJSON_Array, area) ||
        !OptionalMember(root.get(), "weather", cJSON_Array, days) ||
        !OptionalMember(root.get(), "realtime", cJSON_Object, realtime) ||
        !OptionalMember(root.get(), "pm25", cJSON_Object, air) || !(area || days || realtime || air)) {
        return false;
    }
    WeatherAnswer parsed;
    if (area) {
        ReadArea(area, parsed);
    }
    ReadDays(days, parsed.data);
    if (realtime) {
        ReadRealtime(realtime, parsed.data.realtime);
    }
    ReadAirQuality(air, parsed.data.realtime);
    out = std::move(parsed);
    return true;
}
