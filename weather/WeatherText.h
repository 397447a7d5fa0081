#pragma once

#include <optional>
#include <string>
#include <vector>

#include "layer/LayerControlMath.h"
#include "weather/WeatherData.h"

// What the weather window shows, decided from a record without a window: where the current conditions
// go, their texts, the icons and the forecast rows.

// The current-condition elements, placed by the temperature's width.
struct CurrentPlacement {
    LayerRect temperature;
    LayerRect degree;
    LayerRect description;
    LayerRect airQuality;
};

// The placement for a temperature of 1, 2 or 3 characters ("-10" has three); any other length keeps the
// previous placement (nullopt).
std::optional<CurrentPlacement> CurrentPlacementFor(const std::wstring& temperature);

// "info high°~low°" from today's day and night temperatures when both are known, otherwise "info".
std::wstring DescriptionLine(const WeatherData& data);

// The air-quality label, followed by the value when there is one.
std::wstring AirQualityLine(const RealtimeWeather& realtime);

// Skin images of the current and the forecast weather icon. The first keyword of "晴", "云", "雨", "阴",
// "雪" found anywhere in the description decides, so "晴转多云" is sunny; none found gives the cloud.
struct WeatherIcons {
    int current;
    int forecast;

    bool operator==(const WeatherIcons&) const = default;
};
WeatherIcons WeatherIconsFor(const std::wstring& description);

inline constexpr size_t kForecastRowCount = 4;

// What a forecast row shows besides its date and weekday; known only when the day has its high, its
// description and its low.
struct ForecastDetails {
    int icon;
    std::wstring temperatureRange;
    std::wstring description;
};

struct ForecastRow {
    std::wstring date;                      // "12月7日"; empty when the day's date is not three pieces joined by "-"
    std::wstring weekday;                   // "周一" ... "周日"
    std::optional<ForecastDetails> details; // nullopt: the row's icon and labels keep what they showed
};

// The rows for the days after today, at most four. A record with one day or none gives no row: the
// window keeps the rows it shows. Row i's weekday counts on from today's week number (1 = Monday); a
// record without one (negative) takes each row's weekday from its date, and empty when that is no date.
std::vector<ForecastRow> ForecastRows(const WeatherData& data);
