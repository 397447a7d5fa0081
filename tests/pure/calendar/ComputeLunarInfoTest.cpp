#include <gtest/gtest.h>

#include <vector>

#include "LunarGolden.h"
#include "calendar/ComputeLunarInfo.h"
#include "calendar/DayNumber.h"

namespace {

struct Day {
    CivilDate date;
    LunarInfo info;
};

LunarInfo Compute(int y, int m, int d, int hour = 0) {
    LunarInfo info{};
    EXPECT_EQ(ComputeLunarInfo(&info, MakePackedDate(y, m, d, hour)), 0) << y << "-" << m << "-" << d;
    return info;
}

// Every day of 1902-2099 at 00:00, computed once for the whole-range tests.
const std::vector<Day>& AllDays() {
    static const std::vector<Day> days = [] {
        std::vector<Day> out;
        for (int n = DayNumber(1902, 1, 1); n <= DayNumber(2099, 12, 31); ++n) {
            const CivilDate date = DateFromDayNumber(n);
            out.push_back({date, Compute(date.year, date.month, date.day)});
        }
        return out;
    }();
    return days;
}

int Sexagenary(int stem, int branch) {
    for (int i = 0; i < 60; ++i) {
        if (i % 10 == stem && i % 12 == branch) {
            return i;
        }
    }
    return -1;
}

TEST(ComputeLunarInfo, LunarDateAndDayPillarMatchTheReferenceCalendarOnEveryDay) {
    const std::vector<Day>& days = AllDays();
    size_t index = 0;
    const int firstDay = DayNumber(1902, 1, 1);
    for (const GoldenMonth& month : GoldenMonths()) {
        const int start = DayNumber(month.year, month.month, month.day);
        for (int k = 0; k < month.days; ++k) {
            if (start + k < firstDay || index == days.size()) {
                continue;
            }
            const Day& day = days[index++];
            ASSERT_EQ(DayNumber(day.date.year, day.date.month, day.date.day), start + k);
            const LunarInfo& info = day.info;
            ASSERT_EQ(info.LunarMonth(), month.lunarMonth)
                << day.date.year << "-" << day.date.month << "-" << day.date.day;
            ASSERT_EQ(info.LunarDay(), k + 1) << day.date.year << "-" << day.date.month << "-" << day.date.day;
            ASSERT_EQ(info.IsLeapMonth(), month.leap != 0)
                << day.date.year << "-" << day.date.month << "-" << day.date.day;
            ASSERT_EQ(Sexagenary(info.DayStem(), info.DayBranch()), (month.firstDayCycle + k) % 60)
                << day.date.year << "-" << day.date.month << "-" << day.date.day;
        }
    }
    EXPECT_EQ(index, days.size());
}

TEST(ComputeLunarInfo, SpringFestivalAndNewYearsEveFallOnTheReferenceNewYears) {
    std::vector<int> eves;
    std::vector<int> springs;
    for (const Day& day : AllDays()) {
        const int n = DayNumber(day.date.year, day.date.month, day.date.day);
        if (day.info.IsLunarFestival() && day.info.LunarFestival() == 9) {
            eves.push_back(n);
        }
        if (day.info.IsLunarFestival() && day.info.LunarFestival() == 0) {
            springs.push_back(n);
        }
    }
    std::vector<int> expected;
    for (const GoldenDate& ny : GoldenNewYears()) {
        if (ny.year >= 1902 && ny.year <= 2099) {
            expected.push_back(DayNumber(ny.year, ny.month, ny.day));
        }
    }
    EXPECT_EQ(springs, expected);
    for (int& n : expected) {
        --n;
    }
    EXPECT_EQ(eves, expected);
}

TEST(ComputeLunarInfo, YearPillarAndZodiacTurnOnStartOfSpring) {
    const std::vector<Day>& days = AllDays();
    for (size_t i = 1; i < days.size(); ++i) {
        const LunarInfo& prev = days[i - 1].info;
        const LunarInfo& info = days[i].info;
        ASSERT_EQ(info.Zodiac(), info.YearBranch());
        const int prevYear = Sexagenary(prev.YearStem(), prev.YearBranch());
        const int year = Sexagenary(info.YearStem(), info.YearBranch());
        const bool startOfSpring = info.HasSolarTerm() && info.SolarTerm() == 2;
        ASSERT_EQ(year, startOfSpring ? (prevYear + 1) % 60 : prevYear) << days[i].date.year;
    }
    // 1984 is a jia-zi year from its Start of Spring on.
    const LunarInfo info = Compute(1984, 6, 1);
    EXPECT_EQ(Sexagenary(info.YearStem(), info.YearBranch()), 0);
}

TEST(ComputeLunarInfo, MonthPillarsRunOnUnbrokenAndTurnOnTheMonthlyTerms) {
    const std::vector<Day>& days = AllDays();
    for (size_t i = 1; i < days.size(); ++i) {
        const LunarInfo& prev = days[i - 1].info;
        const LunarInfo& info = days[i].info;
        const int prevMonth = Sexagenary(prev.MonthStem(), prev.MonthBranch());
        const int month = Sexagenary(info.MonthStem(), info.MonthBranch());
        // The first term of each Gregorian month (even index) opens a new month pillar.
        const bool opens = info.HasSolarTerm() && info.SolarTerm() % 2 == 0;
        ASSERT_EQ(month, opens ? (prevMonth + 1) % 60 : prevMonth)
            << days[i].date.year << "-" << days[i].date.month << "-" << days[i].date.day;
        // The tiger month always opens the pillar year.
        if (info.HasSolarTerm() && info.SolarTerm() == 2) {
            ASSERT_EQ(info.MonthBranch(), 2);
        }
    }
}

TEST(ComputeLunarInfo, EveryYearHasItsTwentyFourTermsInOrder) {
    std::vector<int> terms;
    int year = 1902;
    for (const Day& day : AllDays()) {
        if (day.date.year != year) {
            ASSERT_EQ(terms.size(), 24u) << year;
            terms.clear();
            year = day.date.year;
        }
        if (day.info.HasSolarTerm()) {
            ASSERT_EQ(day.info.SolarTerm(), static_cast<int>(terms.size())) << year;
            terms.push_back(day.info.SolarTerm());
        }
    }
    EXPECT_EQ(terms.size(), 24u);
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
            EXPECT_EQ(info.DayStem(), midnight.DayStem());
            EXPECT_EQ(info.DayBranch(), midnight.DayBranch());
        }
        const LunarInfo late = Compute(date.year, date.month, date.day, 23);
        EXPECT_EQ(late.b & 0x0FFFFFFF, midnight.b & 0x0FFFFFFF);
        // The next day's zi hour follows this day's hai hour.
        const CivilDate next = DateFromDayNumber(n + 1);
        const LunarInfo nextMidnight = Compute(next.year, next.month, next.day, 0);
        EXPECT_EQ(Sexagenary(nextMidnight.HourStem(), nextMidnight.HourBranch()), (zi + 12) % 60);
    }
}

TEST(ComputeLunarInfo, FestivalsOfBothCalendars) {
    LunarInfo info = Compute(2001, 10, 1);
    EXPECT_TRUE(info.IsGregorianFestival());
    EXPECT_EQ(info.GregorianFestival(), 9);
    EXPECT_TRUE(info.IsLunarFestival());
    EXPECT_EQ(info.LunarFestival(), 6);

    // A day of a leap month shares the festivals of the regular month: the fifth of the leap fifth month of 2009.
    info = Compute(2009, 6, 27);
    EXPECT_EQ(info.LunarMonth(), 5);
    EXPECT_EQ(info.LunarDay(), 5);
    EXPECT_TRUE(info.IsLeapMonth());
    EXPECT_TRUE(info.IsLunarFestival());
    EXPECT_EQ(info.LunarFestival(), 3);

    // The lunar Clear-and-Bright entry never matches; the day shows only as a solar term.
    info = Compute(2024, 4, 4);
    EXPECT_FALSE(info.IsLunarFestival());
    EXPECT_TRUE(info.HasSolarTerm());
    EXPECT_EQ(info.SolarTerm(), 6);

    info = Compute(2024, 3, 7);
    EXPECT_FALSE(info.IsGregorianFestival());
    info = Compute(2024, 3, 8);
    EXPECT_TRUE(info.IsGregorianFestival());
    EXPECT_EQ(info.GregorianFestival(), 1);
}

TEST(ComputeLunarInfo, RejectsYearsOutsideTheRangeWithoutTouchingTheRecord) {
    for (int year : {0, 1900, 1901, 2100, 2101, 4095}) {
        LunarInfo info{0x12345678u, 0x9ABCDEF0u};
        EXPECT_EQ(ComputeLunarInfo(&info, MakePackedDate(year, 6, 1)), -1) << year;
        EXPECT_EQ(info.a, 0x12345678u);
        EXPECT_EQ(info.b, 0x9ABCDEF0u);
    }
    LunarInfo info{};
    EXPECT_EQ(ComputeLunarInfo(&info, MakePackedDate(1902, 1, 1)), 0);
    EXPECT_EQ(ComputeLunarInfo(&info, MakePackedDate(2099, 12, 31)), 0);
}

TEST(ComputeLunarInfo, IgnoresTheTopBitsOfTheInputAndKeepsUnsetIndexFields) {
    const LunarInfo plain = Compute(2024, 2, 10, 5);
    LunarInfo info{};
    EXPECT_EQ(ComputeLunarInfo(&info, MakePackedDate(2024, 2, 10, 5) | 0xF0000000u), 0);
    EXPECT_EQ(info.a, plain.a);
    EXPECT_EQ(info.b, plain.b);

    // Index fields without their flag are left as they were; the other fields are assigned outright.
    LunarInfo dirty{0x00FFFC00u | 0xFu, 0x0FFFFFFFu};
    EXPECT_EQ(ComputeLunarInfo(&dirty, MakePackedDate(2024, 6, 20)), 0);
    const LunarInfo clean = Compute(2024, 6, 20);
    EXPECT_FALSE(clean.IsGregorianFestival());
    EXPECT_EQ(dirty.a & ~0x00FFFC00u, clean.a & ~0x00FFFC00u);
    EXPECT_EQ(dirty.a & 0x00FF0000u, 0x00FF0000u);
    EXPECT_EQ(dirty.b, clean.b);

    // Flags already set stay set: they are only ORed in.
    LunarInfo flagged{0, LunarInfo::kGregorianFestivalFlag};
    EXPECT_EQ(ComputeLunarInfo(&flagged, MakePackedDate(2024, 6, 20)), 0);
    EXPECT_TRUE(flagged.IsGregorianFestival());
}

} // namespace
