#include <gtest/gtest.h>

#include <chrono>
#include <tuple>
#include <vector>

#include "calendar/CalendarMonth.h"

namespace {

namespace chr = std::chrono;

using Ymd = std::tuple<int, int, int>;

std::vector<Ymd> Dates(const CalendarMonth& grid) {
    std::vector<Ymd> dates;
    for (const CalendarDay& cell : grid.days) {
        dates.emplace_back(PackedYear(cell.date), PackedMonth(cell.date), PackedDay(cell.date));
    }
    return dates;
}

std::vector<Ymd> Days(int year, int month, int first, int last) {
    std::vector<Ymd> dates;
    for (int d = first; d <= last; ++d) {
        dates.emplace_back(year, month, d);
    }
    return dates;
}

std::vector<Ymd> Concat(std::initializer_list<std::vector<Ymd>> parts) {
    std::vector<Ymd> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Every cell is one day after the one before, the first is a Monday, each weekday is the standard
// library's, and each lunar record is filled (the years here are all inside the engine's range).
void ExpectWellFormed(const CalendarMonth& grid) {
    ASSERT_EQ(grid.days.size(), 42u);
    ASSERT_EQ(grid.lunar.size(), 42u);
    for (size_t i = 0; i < grid.days.size(); ++i) {
        const PackedDate date = grid.days[i].date;
        const chr::year_month_day ymd{chr::year{PackedYear(date)}, chr::month{static_cast<unsigned>(PackedMonth(date))},
                                      chr::day{static_cast<unsigned>(PackedDay(date))}};
        EXPECT_EQ(grid.days[i].weekday, static_cast<int>(chr::weekday{chr::sys_days{ymd}}.iso_encoding())) << i;
        EXPECT_EQ(grid.days[i].weekday, static_cast<int>(i % 7) + 1) << i;
        EXPECT_EQ(PackedHour(date), 0);
        EXPECT_NE(grid.lunar[i].LunarDay(), 0) << i;
    }
}

TEST(CalendarMonth, MayTwentyTwentyFourStartsOnTheMondayBeforeAWednesdayFirst) {
    const CalendarMonth grid = BuildCalendarMonth(2024, 5, 15);
    ExpectWellFormed(grid);
    EXPECT_EQ(Dates(grid), Concat({Days(2024, 4, 29, 30), Days(2024, 5, 1, 31), Days(2024, 6, 1, 9)}));
    EXPECT_EQ(grid.year, 2024);
    EXPECT_EQ(grid.month, 5);
    EXPECT_EQ(grid.day, 15);
    EXPECT_EQ(grid.weekday, 3);
}

TEST(CalendarMonth, AMonthBeginningOnMondayHasNoLeadingDays) {
    const CalendarMonth grid = BuildCalendarMonth(2024, 1, 31);
    ExpectWellFormed(grid);
    EXPECT_EQ(Dates(grid), Concat({Days(2024, 1, 1, 31), Days(2024, 2, 1, 11)}));
    EXPECT_EQ(grid.weekday, 3);
}

TEST(CalendarMonth, LeapFebruaryAndYearBoundaries) {
    const CalendarMonth february = BuildCalendarMonth(2024, 2, 29);
    ExpectWellFormed(february);
    EXPECT_EQ(Dates(february), Concat({Days(2024, 1, 29, 31), Days(2024, 2, 1, 29), Days(2024, 3, 1, 10)}));

    // 1 January 2021 is a Friday: four December days of the year before; a century year is no leap year.
    EXPECT_EQ(Dates(BuildCalendarMonth(2021, 1, 1)).front(), Ymd(2020, 12, 28));
    EXPECT_EQ(Dates(BuildCalendarMonth(2099, 12, 1)).back(), Ymd(2100, 1, 10));
    EXPECT_EQ(CalendarMonthLength(2100, 2), 28);
    EXPECT_EQ(CalendarMonthLength(2000, 2), 29);
}

TEST(CalendarMonth, DatesOutsideTheEngineKeepAZeroLunarRecord) {
    const CalendarMonth grid = BuildCalendarMonth(2100, 1, 15);
    ASSERT_EQ(grid.days.size(), 42u);
    EXPECT_EQ(grid.lunar[10].a, 0u);
    EXPECT_EQ(grid.lunar[10].b, 0u);
}

} // namespace
