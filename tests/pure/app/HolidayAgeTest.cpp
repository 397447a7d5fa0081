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

// A stamp is fresh up to exactly seven days after the local midnight of the day it names; out-of-range months
// and days are clamped (month 13 day 40 of 2024 is 1 January 2024, not February 2025), never carried over.
TEST(HolidayAge, FreshUpToExactlySevenDaysAfterTheMidnightOfItsClampedDate) {
    const struct {
        const wchar_t* stamp;
        int year, month, day;
    } cases[] = {
        {L"2024/03/10", 2024, 3, 10},
        {L"2024/13/40", 2024, 1, 1},
        {L"2024/03/00", 2024, 3, 1},
        {L"2024/00/15", 2024, 1, 15},
    };
    for (const auto& c : cases) {
        const std::time_t midnight = LocalMidnight(c.year, c.month, c.day);
        EXPECT_FALSE(IsHolidayStampStale(c.stamp, midnight - kDay)) << c.stamp << " in the future";
        EXPECT_FALSE(IsHolidayStampStale(c.stamp, midnight + kWeek)) << c.stamp;
        EXPECT_TRUE(IsHolidayStampStale(c.stamp, midnight + kWeek + 1)) << c.stamp;
    }
    EXPECT_TRUE(IsHolidayStampStale(L"2024/03/10", LocalMidnight(2024, 3, 10) + 400 * kDay));
}

TEST(HolidayAge, EmptyOrMalformedStampsAreStale) {
    const std::time_t now = LocalMidnight(2024, 6, 1);
    for (const wchar_t* stamp :
         {L"", L"   ", L"2024", L"2024/06", L"2024/06/", L"2024-06-01", L"abcd/06/01", L"06/xx/2024", L"12345/06/01"}) {
        EXPECT_TRUE(IsHolidayStampStale(stamp, now)) << stamp;
    }
}

TEST(HolidayAge, YearsBefore1900CountAs1900) {
    const std::time_t t1900 = LocalMidnight(1900, 6, 15);
    if (t1900 == static_cast<std::time_t>(-1)) {
        // This C library has no time for 1900 at all, which makes the clamped date fresh.
        EXPECT_FALSE(IsHolidayStampStale(L"1899/06/15", LocalMidnight(2024, 1, 1)));
        return;
    }
    EXPECT_FALSE(IsHolidayStampStale(L"1899/06/15", t1900 + kWeek));
    EXPECT_TRUE(IsHolidayStampStale(L"1899/06/15", t1900 + kWeek + 1));
    EXPECT_FALSE(IsHolidayStampStale(L"0000/06/15", t1900 + kDay));
}

TEST(HolidayAge, DateWithoutATimeCountsAsFresh) {
    // The Windows C library has no times before 1970; other libraries do.
    const std::time_t now = LocalMidnight(2024, 1, 1);
    const bool convertible = LocalMidnight(1950, 1, 1) != static_cast<std::time_t>(-1);
    EXPECT_EQ(IsHolidayStampStale(L"1950/01/01", now), convertible);
}

TEST(HolidayAge, StampIsTheLocalDateOfNow) {
    const std::time_t afternoon = LocalMidnight(2024, 2, 5) + 13 * 3600 + 7;
    EXPECT_EQ(FormatHolidayStamp(afternoon), L"2024/02/05");
    EXPECT_EQ(FormatHolidayStamp(LocalMidnight(2031, 11, 9)), L"2031/11/09");
}
