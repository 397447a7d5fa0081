#include <gtest/gtest.h>

#include "calendar/CalendarMonth.h"
#include "app/base/CivilDate.h"

namespace {

TEST(CalendarMonth, FortyTwoConsecutiveDaysFromTheMondayOnOrBeforeTheFirst) {
    const struct {
        int year, month, day;
        CivilDate first, last;
    } rows[] = {
        {2024, 5, 15, {2024, 4, 29}, {2024, 6, 9}},  {2024, 1, 31, {2024, 1, 1}, {2024, 2, 11}}, // no leading days
        {2024, 2, 29, {2024, 1, 29}, {2024, 3, 10}},                                             // leap February
        {2021, 1, 1, {2020, 12, 28}, {2021, 2, 7}},  {2099, 12, 1, {2099, 11, 30}, {2100, 1, 10}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.year << "-" << r.month << "-" << r.day);
        const CalendarMonth grid = BuildCalendarMonth(r.year, r.month, r.day);
        ASSERT_EQ(grid.days.size(), 42u);
        ASSERT_EQ(grid.lunar.size(), 42u);
        EXPECT_EQ(grid.year * 10000 + grid.month * 100 + grid.day, r.year * 10000 + r.month * 100 + r.day);
        const int first = DayNumber(r.first.year, r.first.month, r.first.day);
        EXPECT_EQ(DayNumber(r.last.year, r.last.month, r.last.day), first + 41);
        // 1 January 1970 was a Thursday.
        EXPECT_EQ(grid.weekday, (DayNumber(r.year, r.month, r.day) + 3) % 7 + 1);
        for (int i = 0; i < 42; ++i) {
            const PackedDate date = grid.days[i].date;
            ASSERT_EQ(DayNumber(PackedYear(date), PackedMonth(date), PackedDay(date)), first + i) << i;
            EXPECT_EQ(PackedHour(date), 0);
            EXPECT_EQ(grid.days[i].weekday, i % 7 + 1) << i;
            EXPECT_EQ(grid.lunar[i].LunarDay() != 0, PackedYear(date) <= 2099) << i;
        }
    }
    EXPECT_EQ(CalendarMonthLength(2100, 2), 28);
    EXPECT_EQ(CalendarMonthLength(2000, 2), 29);
}

} // namespace
