#pragma once

#include <ctime>
#include <string>

// The holiday data is fetched again when its download stamp (calendar.holiday) is more than a week
// old. The stamp is the local date of the last successful download, "%04d/%02d/%02d".

// Days of age after which the data counts as stale.
constexpr int kHolidayMaxAgeDays = 7;

// The stamp for the local date of `now`.
std::wstring FormatHolidayStamp(std::time_t now);

// True when data stamped `stamp` must be fetched again at `now`: an empty or malformed stamp, or a
// local midnight of the stamped date more than seven days (7 x 86400 s) before `now`. Out-of-range
// parts are clamped (year below 1900 to 1900, month or day out of range to 1) rather than carried
// over, a date whose midnight is still ahead of `now` counts as stale, and one the C library cannot turn
// into a time as fresh.
bool IsHolidayStampStale(const std::wstring& stamp, std::time_t now);
