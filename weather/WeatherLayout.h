#pragma once

#include "layer/LayerControlMath.h"

// Geometry and skin choices of the weather window that need no window: plain numbers in, plain numbers out.

inline constexpr int kWeatherWidth = 389;
inline constexpr int kWeatherHeight = 338;
// The toolbar strip above the panel, empty while the pointer is elsewhere.
inline constexpr int kWeatherToolbarStrip = 29;

// The background of one look: its skin picture and where it lies in the window. Four looks (forecast shown or
// folded, pointer over the widget or not), each pre-drawn for every band of the transparency slider.
struct WeatherBackground {
    int image;
    LayerRect rect;

    bool operator==(const WeatherBackground&) const = default;
};
WeatherBackground WeatherBackgroundFor(int percent, bool expanded, bool hovered);
