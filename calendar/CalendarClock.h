#pragma once

// Today's local date for the calendar widget. In-process tests put another source in place; tests of the
// whole program and the demo name a file holding the date ("YYYY-MM-DD") in the environment variable
// DESKLING_CALENDAR_TODAY_FILE. Either way they can say what day it is and change it.
struct CalendarDate {
    int year;
    int month;
    int day;
};

using CalendarClockSource = CalendarDate (*)();

CalendarDate CalendarToday();
// Null restores the system's local date.
void SetCalendarClockSource(CalendarClockSource source);
