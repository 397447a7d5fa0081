#include "calendar/SolarTermDay.h"

int SolarTermDay(int year, double minutes) {
    constexpr double kTropicalYearMs = 31556925974.7;
    constexpr double kFirstTermMs = 439320000.0;
    constexpr double kDayMs = 86400000.0;
    return static_cast<int>(((year - 1970) * kTropicalYearMs + kFirstTermMs + minutes * 60000.0) / kDayMs);
}
