#pragma once

// Today's local date for the calendar widget. In-process tests put another source in place.
struct CalendarDate {
    int year;
    int month;
    int day;
};

using CalendarClockSource = CalendarDate (*)();

CalendarDate CalendarToday();
// Null restores the system's local date.
void SetCalendarClockSource(CalendarClockSource source);
