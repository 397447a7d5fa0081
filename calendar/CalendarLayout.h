#pragma once

// Geometry and skin choices of the calendar window that need no window: plain numbers in, plain
// numbers out.

inline constexpr int kCalendarWidth = 387;
inline constexpr int kCalendarHeight = 475;

// The background pictures for a transparency percentage, one set per band of the slider (TransparencyBand).
struct CalendarBackgroundImages {
    int titleStrip;
    int body;
    int frame;
};
CalendarBackgroundImages CalendarBackgroundFor(int percent);
