#pragma once

#include <optional>
#include <string>

#include "net/JsonAnswer.h"
#include "weather/WeatherData.h"

// What one weather answer yields: the record, and the town code to keep as the configured place when
// the answer names a town (the answer to a request without a code names the caller's town).
struct WeatherAnswer {
    WeatherData data;
    std::optional<std::wstring> townCode;
};

// The label of an air-quality value: empty below 0 and from 500 on.
std::wstring AirQualityLabel(int pm25);

// Reads a weather answer into out. Refused, with false and out untouched: a request that did not finish
// with a 2xx status; a body that is not exactly one JSON object; an object with an "error" member or
// with none of "area", "weather", "realtime" and "pm25"; one of those four of the wrong type (arrays
// for the first two, objects for the others). Inside an accepted answer a missing or mistyped member
// reads as empty, a forecast day that is not an object or has no "info" object is left out, and a
// missing "pm25" gives -1 with the label for no data.
bool ParseWeatherAnswer(const HttpAnswer& answer, WeatherAnswer& out);
