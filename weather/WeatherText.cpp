#include "weather/WeatherText.h"

#include "app/base/CivilDate.h"
#include "weather/DecimalPrefix.h"

namespace {

struct IconRule {
    const wchar_t* keyword;
    WeatherIcons icons;
};
constexpr IconRule kIconRules[] = {
    {L"晴", {1060, 1065}}, {L"云", {1061, 1066}}, {L"雨", {1063, 1068}}, {L"阴", {1062, 1067}}, {L"雪", {1064, 1069}},
};
constexpr WeatherIcons kDefaultIcons{1061, 1066};

constexpr const wchar_t* kWeekdays[] = {L"周一", L"周二", L"周三", L"周四", L"周五", L"周六", L"周日"};

// Temperature digits, degree sign, description and air-quality line for 1, 2 and 3 characters.
constexpr CurrentPlacement kPlacements[] = {
    {{24, 39, 174, 163}, {94, 67, 107, 80}, {92, 86, 212, 106}, {92, 110, 212, 126}},
    {{18, 39, 218, 163}, {133, 67, 146, 80}, {131, 86, 251, 106}, {131, 110, 251, 126}},
    {{4, 39, 204, 163}, {152, 67, 165, 80}, {150, 86, 270, 106}, {150, 110, 270, 126}},
};

std::wstring PartValue(const ForecastDay& day, const wchar_t* part, size_t element) {
    const auto found = day.parts.find(part);
    return found == day.parts.end() ? std::wstring() : found->second[element];
}

std::wstring TemperatureRange(const std::wstring& high, const std::wstring& low) {
    return high + L"°~" + low + L"°";
}

std::vector<std::wstring> SplitDate(const std::wstring& date) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    for (size_t dash = date.find(L'-'); dash != std::wstring::npos; dash = date.find(L'-', start)) {
        pieces.push_back(date.substr(start, dash - start));
        start = dash + 1;
    }
    pieces.push_back(date.substr(start));
    return pieces;
}

std::wstring DateText(const std::vector<std::wstring>& pieces) {
    if (pieces.size() < 3) {
        return {};
    }
    return std::to_wstring(DecimalPrefix(pieces[1])) + L"月" + std::to_wstring(DecimalPrefix(pieces[2])) + L"日";
}

// The weekday of a real calendar date given as year-month-day; empty for anything else.
std::wstring WeekdayOfDate(const std::vector<std::wstring>& pieces) {
    if (pieces.size() < 3) {
        return {};
    }
    const CivilDate date{DecimalPrefix(pieces[0]), DecimalPrefix(pieces[1]), DecimalPrefix(pieces[2])};
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) {
        return {};
    }
    const int dayNumber = DayNumber(date.year, date.month, date.day);
    if (DateFromDayNumber(dayNumber) != date) {
        return {};
    }
    // Day 0, 1 January 1970, was a Thursday (entry 3).
    return kWeekdays[((dayNumber + 3) % 7 + 7) % 7];
}

std::optional<ForecastDetails> DetailsOf(const ForecastDay& day) {
    const std::wstring high = PartValue(day, L"day", kDayPartTemperature);
    const std::wstring description = PartValue(day, L"day", kDayPartDescription);
    const std::wstring low = PartValue(day, L"night", kDayPartTemperature);
    if (high.empty() || description.empty() || low.empty()) {
        return std::nullopt;
    }
    return ForecastDetails{WeatherIconsFor(description).forecast, TemperatureRange(high, low), description};
}

} // namespace

std::optional<CurrentPlacement> CurrentPlacementFor(const std::wstring& temperature) {
    if (temperature.empty() || temperature.size() > std::size(kPlacements)) {
        return std::nullopt;
    }
    return kPlacements[temperature.size() - 1];
}

std::wstring DescriptionLine(const WeatherData& data) {
    const std::wstring& info = data.realtime.info;
    if (data.days.empty()) {
        return info;
    }
    const std::wstring high = PartValue(data.days.front(), L"day", kDayPartTemperature);
    const std::wstring low = PartValue(data.days.front(), L"night", kDayPartTemperature);
    return high.empty() || low.empty() ? info : info + L" " + TemperatureRange(high, low);
}

std::wstring AirQualityLine(const RealtimeWeather& realtime) {
    if (realtime.pm25 == -1) {
        return realtime.airLabel;
    }
    return realtime.airLabel + L" " + std::to_wstring(realtime.pm25);
}

WeatherIcons WeatherIconsFor(const std::wstring& description) {
    for (const IconRule& rule : kIconRules) {
        if (description.find(rule.keyword) != std::wstring::npos) {
            return rule.icons;
        }
    }
    return kDefaultIcons;
}

std::vector<ForecastRow> ForecastRows(const WeatherData& data) {
    std::vector<ForecastRow> rows;
    const int week = data.realtime.week;
    for (size_t i = 0; i < kForecastRowCount && i + 1 < data.days.size(); ++i) {
        const ForecastDay& day = data.days[i + 1];
        const std::vector<std::wstring> pieces = SplitDate(day.date);
        ForecastRow row;
        row.date = DateText(pieces);
        row.weekday = week < 0 ? WeekdayOfDate(pieces) : kWeekdays[(week % 7 + static_cast<int>(i)) % 7];
        row.details = DetailsOf(day);
        rows.push_back(std::move(row));
    }
    return rows;
}
