#include "calendar/CalendarMonth.h"

#include "calendar/ComputeLunarInfo.h"
#include "app/base/CivilDate.h"

int CalendarWeekday(int year, int month, int day) {
    // Day 0, 1 January 1970, was a Thursday.
    const int fromMonday = ((DayNumber(year, month, day) + 3) % 7 + 7) % 7;
    return fromMonday + 1;
}

int CalendarMonthLength(int year, int month) {
    static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return kLengths[(month - 1) % 12];
}

namespace {

void AppendCell(CalendarMonth& grid, int year, int month, int day) {
    grid.days.push_back(CalendarDay{MakePackedDate(year, month, day), CalendarWeekday(year, month, day)});
    LunarInfo lunar{0, 0};
    ComputeLunarInfo(&lunar, MakePackedDate(year, month, day));
    grid.lunar.push_back(lunar);
}

} // namespace

CalendarMonth BuildCalendarMonth(int year, int month, int day) {
    CalendarMonth grid;
    grid.year = year;
    grid.month = month;
    grid.day = day;
    grid.weekday = CalendarWeekday(year, month, day);
    grid.days.reserve(CalendarMonth::kCells);
    grid.lunar.reserve(CalendarMonth::kCells);

    const int previousYear = month == 1 ? year - 1 : year;
    const int previousMonth = month == 1 ? 12 : month - 1;
    const int previousLength = CalendarMonthLength(previousYear, previousMonth);
    const int leading = CalendarWeekday(year, month, 1) - 1;
    for (int d = previousLength - leading + 1; d <= previousLength; ++d) {
        AppendCell(grid, previousYear, previousMonth, d);
    }

    const int length = CalendarMonthLength(year, month);
    for (int d = 1; d <= length; ++d) {
        AppendCell(grid, year, month, d);
    }

    const int nextYear = month == 12 ? year + 1 : year;
    const int nextMonth = month == 12 ? 1 : month + 1;
    for (int d = 1; grid.days.size() < CalendarMonth::kCells; ++d) {
        AppendCell(grid, nextYear, nextMonth, d);
    }
    return grid;
}
