#pragma once

#include <vector>

#include "calendar/LunarInfo.h"
#include "calendar/PackedDate.h"

// One cell of the month grid: the date (hour 0) and its weekday, 1 = Monday ... 7 = Sunday.
struct CalendarDay {
    PackedDate date;
    int weekday;
};

// The month the calendar shows: today and the six Monday-first weeks around today's month, with the
// lunar data of every cell in the same order.
struct CalendarMonth {
    static constexpr int kCells = 42;

    int year = 1990;
    int month = -1;
    int day = -1;
    int weekday = 1;
    std::vector<CalendarDay> days;
    std::vector<LunarInfo> lunar;
};

// Weekday of a Gregorian date, 1 = Monday ... 7 = Sunday.
int CalendarWeekday(int year, int month, int day);

// Days in a Gregorian month.
int CalendarMonthLength(int year, int month);

// The grid of today's month for today = year-month-day: the last days of the previous month up to the
// Monday before the 1st, the whole month, then the next month's first days up to 42 cells. Each cell
// gets its lunar data from the engine; outside the engine's years that record stays zero.
CalendarMonth BuildCalendarMonth(int year, int month, int day);
