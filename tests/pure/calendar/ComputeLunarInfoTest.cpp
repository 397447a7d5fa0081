#include <gtest/gtest.h>

#include "LunarGolden.h"
#include "calendar/ComputeLunarInfo.h"
#include "app/base/CivilDate.h"

namespace {

LunarInfo Compute(int y, int m, int d, int hour = 0) {
    LunarInfo info{};
    EXPECT_EQ(ComputeLunarInfo(&info, MakePackedDate(y, m, d, hour)), 0) << y << "-" << m << "-" << d;
    return info;
}

int Sexagenary(int stem, int branch) {
    for (int i = 0; i < 60; ++i) {
        if (i % 10 == stem && i % 12 == branch) {
            return i;
        }
    }
    return -1;
}

bool IsLunarFestival(const LunarInfo& info, int index) {
    return info.IsLunarFestival() && info.LunarFestival() == index;
}

// Every day of 1902-2099 against the reference calendar: lunar date, leap flag and day pillar; the lunar new
// year and its eve; the year pillar turning at Start of Spring, the month pillar at each month's first term;
// and each year's 24 terms in order.
TEST(ComputeLunarInfo, EveryDayMatchesTheReferenceCalendar) {
    const std::vector<GoldenMonth>& months = GoldenMonths();
    const int firstDay = DayNumber(1902, 1, 1), lastDay = DayNumber(2099, 12, 31);
    LunarInfo prev{};
    int computed = 0, termsThisYear = 0;
    for (size_t m = 0; m < months.size(); ++m) {
        const GoldenMonth& month = months[m];
        const bool nextIsNewYear = m + 1 < months.size() && months[m + 1].lunarMonth == 1 && !months[m + 1].leap;
        const int start = DayNumber(month.year, month.month, month.day);
        for (int k = 0; k < month.days; ++k) {
            const int n = start + k;
            if (n < firstDay || n > lastDay) {
                continue;
            }
            const CivilDate date = DateFromDayNumber(n);
            SCOPED_TRACE(testing::Message() << date.year << "-" << date.month << "-" << date.day);
            const LunarInfo info = Compute(date.year, date.month, date.day);
            ASSERT_EQ(info.LunarMonth(), month.lunarMonth);
            ASSERT_EQ(info.LunarDay(), k + 1);
            ASSERT_EQ(info.IsLeapMonth(), month.leap != 0);
            ASSERT_EQ(Sexagenary(info.DayStem(), info.DayBranch()), (month.firstDayCycle + k) % 60);
            ASSERT_EQ(IsLunarFestival(info, 0), month.lunarMonth == 1 && !month.leap && k == 0);
            ASSERT_EQ(IsLunarFestival(info, 9), nextIsNewYear && k == month.days - 1);
            ASSERT_EQ(info.Zodiac(), info.YearBranch());
            if (date.month == 1 && date.day == 1) {
                ASSERT_TRUE(n == firstDay || termsThisYear == 24) << termsThisYear;
                termsThisYear = 0;
            }
            if (info.HasSolarTerm()) {
                ASSERT_EQ(info.SolarTerm(), termsThisYear++);
            }
            if (n > firstDay) {
                const bool startOfSpring = info.HasSolarTerm() && info.SolarTerm() == 2;
                const bool monthTerm = info.HasSolarTerm() && info.SolarTerm() % 2 == 0;
                const int prevYear = Sexagenary(prev.YearStem(), prev.YearBranch());
                const int prevMonth = Sexagenary(prev.MonthStem(), prev.MonthBranch());
                ASSERT_EQ(Sexagenary(info.YearStem(), info.YearBranch()), (prevYear + startOfSpring) % 60);
                ASSERT_EQ(Sexagenary(info.MonthStem(), info.MonthBranch()), (prevMonth + monthTerm) % 60);
                ASSERT_TRUE(!startOfSpring || info.MonthBranch() == 2) << "the tiger month opens the year";
            }
            prev = info;
            ++computed;
        }
    }
    EXPECT_EQ(computed, lastDay - firstDay + 1);
    EXPECT_EQ(termsThisYear, 24);
    const LunarInfo jiaZi = Compute(1984, 6, 1);
    EXPECT_EQ(Sexagenary(jiaZi.YearStem(), jiaZi.YearBranch()), 0);
}

TEST(ComputeLunarInfo, HourPillarsFollowTheDayAndTheElevenPmHourKeepsItsDay) {
    const int first = DayNumber(2023, 12, 25);
    for (int n = first; n < first + 10; ++n) {
        const CivilDate date = DateFromDayNumber(n);
        const LunarInfo midnight = Compute(date.year, date.month, date.day, 0);
        const int zi = Sexagenary(midnight.HourStem(), midnight.HourBranch());
        // The zi hour of a jia or ji day is jia-zi, and so on round the cycle of five days.
        EXPECT_EQ(zi, (midnight.DayStem() % 5) * 12);
        for (int hour = 1; hour < 23; ++hour) {
            const LunarInfo info = Compute(date.year, date.month, date.day, hour);
            EXPECT_EQ(Sexagenary(info.HourStem(), info.HourBranch()), zi + (hour + 1) / 2) << hour;
            EXPECT_EQ(info.b & 0xFFFF, midnight.b & 0xFFFF) << hour;
        }
        EXPECT_EQ(Compute(date.year, date.month, date.day, 23).b & 0x0FFFFFFF, midnight.b & 0x0FFFFFFF);
    }
}

TEST(ComputeLunarInfo, RejectsYearsOutsideTheRangeWithoutTouchingTheRecord) {
    for (int year : {0, 1901, 2100, 4095}) {
        LunarInfo info{0x12345678u, 0x9ABCDEF0u};
        EXPECT_EQ(ComputeLunarInfo(&info, MakePackedDate(year, 6, 1)), -1) << year;
        EXPECT_EQ(info.a, 0x12345678u);
        EXPECT_EQ(info.b, 0x9ABCDEF0u);
    }
}

TEST(ComputeLunarInfo, IgnoresTheTopBitsOfTheInput) {
    const LunarInfo plain = Compute(2024, 2, 10, 5);
    LunarInfo info{};
    EXPECT_EQ(ComputeLunarInfo(&info, MakePackedDate(2024, 2, 10, 5) | 0xF0000000u), 0);
    EXPECT_EQ(info.a, plain.a);
    EXPECT_EQ(info.b, plain.b);
}

} // namespace
