#pragma once

#include "weather/WeatherData.h"

// What the weather model hands its window, on the UI thread: each record taken from an answer. The
// window copies what it keeps.
class IWeatherView {
public:
    virtual void SetWeatherData(const WeatherData& data) = 0;

protected:
    ~IWeatherView() = default;
};
