#pragma once

// Day arithmetic: days counted from 1 January 1970 (day 0) in the proleptic Gregorian calendar.

struct CivilDate {
    int year;
    int month;
    int day;

    friend constexpr bool operator==(const CivilDate&, const CivilDate&) = default;
};

int DayNumber(int year, int month, int day);
CivilDate DateFromDayNumber(int dayNumber);
