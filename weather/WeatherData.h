#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

// One part of a forecast day ("dawn", "day" or "night"): the five texts the service sends, in its order.
using DayPart = std::array<std::wstring, 5>;
inline constexpr size_t kDayPartTemperature = 1; // degrees without the unit
inline constexpr size_t kDayPartDescription = 2; // e.g. "多云"

struct ForecastDay {
    std::wstring date; // year, month and day joined by "-", as sent
    std::map<std::wstring, DayPart> parts;

    bool operator==(const ForecastDay&) const = default;
};

struct RealtimeWeather {
    std::wstring date;
    std::wstring time;
    int week = -1; // 1 = Monday ... 7 = Sunday; -1 when the answer has none
    std::wstring temperature;
    std::wstring info;
    std::wstring windDirect;
    std::wstring windPower;
    std::wstring airLabel;
    int pm25 = -1; // -1 when the answer has no air-quality value
    std::wstring humidity;

    bool operator==(const RealtimeWeather&) const = default;
};

// The weather of one town: its place in the area directory, the forecast (today first) and the
// current conditions.
struct WeatherData {
    std::wstring townName;
    std::wstring townCode;
    std::wstring provinceCode;
    std::wstring cityCode;
    std::vector<ForecastDay> days;
    RealtimeWeather realtime;

    bool operator==(const WeatherData&) const = default;
};
