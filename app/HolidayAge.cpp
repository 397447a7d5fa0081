#include "app/HolidayAge.h"

#include <cwchar>

namespace {

bool ToLocalTime(std::time_t t, std::tm* out) {
#ifdef _WIN32
    return localtime_s(out, &t) == 0;
#else
    return localtime_r(&t, out) != nullptr;
#endif
}

} // namespace

std::wstring FormatHolidayStamp(std::time_t now) {
    std::tm local{};
    if (!ToLocalTime(now, &local)) {
        return std::wstring();
    }
    wchar_t text[32];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return text;
}

bool IsHolidayStampStale(const std::wstring& stamp, std::time_t now) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (std::swscanf(stamp.c_str(), L"%04d/%02d/%02d", &year, &month, &day) < 3) {
        return true;
    }
    // Clamped rather than normalised: a hand-edited "2024/13/40" means early 2024, not February 2025.
    if (year < 1900) {
        year = 1900;
    }
    if (month < 1 || month > 12) {
        month = 1;
    }
    if (day < 1 || day > 31) {
        day = 1;
    }

    std::tm midnight{};
    midnight.tm_year = year - 1900;
    midnight.tm_mon = month - 1;
    midnight.tm_mday = day;
    midnight.tm_isdst = -1;
    std::time_t then = std::mktime(&midnight);
    if (then == static_cast<std::time_t>(-1)) {
        return false;
    }
    // A date still ahead (a clock set back, a hand edit) would otherwise hold off every refresh until then.
    const double age = std::difftime(now, then);
    return age < 0 || age > kHolidayMaxAgeDays * 86400.0;
}
