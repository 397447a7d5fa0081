#include <gtest/gtest.h>

#include <ctime>

#include "app/HolidayAge.h"

namespace {

constexpr std::time_t kDay = 86400;
constexpr std::time_t kWeek = 7 * kDay;

// Local midnight of a calendar date, as the system places it (daylight saving included).
std::time_t LocalMidnight(int year, int month, int day) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

} // namespace

// Out-of-range months and days are clamped (month 13 day 40 of 2024 is 1 January 2024, not February 2025).
TEST(HolidayAge, FreshFromTheMidnightOfItsClampedDateUpToExactlySevenDaysAfter) {
    const struct {
        const wchar_t* stamp;
        int year, month, day;
    } rows[] = {
        {L"2024/03/10", 2024, 3, 10},
        {L"2024/13/40", 2024, 1, 1},
        {L"2024/03/00", 2024, 3, 1},
        {L"2024/00/15", 2024, 1, 15},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stamp);
        const std::time_t midnight = LocalMidnight(row.year, row.month, row.day);
        EXPECT_TRUE(IsHolidayStampStale(row.stamp, midnight - 1)) << "a stamp in the future";
        EXPECT_FALSE(IsHolidayStampStale(row.stamp, midnight));
        EXPECT_FALSE(IsHolidayStampStale(row.stamp, midnight + kWeek));
        EXPECT_TRUE(IsHolidayStampStale(row.stamp, midnight + kWeek + 1));
    }
    const std::time_t now = LocalMidnight(2024, 6, 1);
    for (const wchar_t* stamp : {L"", L"2024/06", L"2024-06-01", L"abcd/06/01", L"06/xx/2024", L"12345/06/01"}) {
        EXPECT_TRUE(IsHolidayStampStale(stamp, now)) << stamp;
    }
}

TEST(HolidayAge, StampIsTheLocalDateOfNow) {
    EXPECT_EQ(FormatHolidayStamp(LocalMidnight(2024, 2, 5) + 13 * 3600 + 7), L"2024/02/05");
    EXPECT_EQ(FormatHolidayStamp(LocalMidnight(2031, 11, 9)), L"2031/11/09");
}
