#pragma once

// Day arithmetic of the lunar engine: days counted from 1 January 1970 (day 0) in the proleptic Gregorian calendar.

struct CivilDate {
    int year;
    int month;
    int day;

    friend constexpr bool operator==(const CivilDate&, const CivilDate&) = default;
};

int DayNumber(int year, int month, int day);
CivilDate DateFromDayNumber(int dayNumber);

// Day number on which the solar term at `minutes` into the tropical year falls in `year`. Truncated toward zero,
// as the tables were made with, so before 1970 the day is rounded up rather than down.
int SolarTermDay(int year, double minutes);
