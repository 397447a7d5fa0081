#pragma once

// Day number (days from 1 January 1970) on which the solar term at `minutes` into the tropical year falls in
// `year`. Truncated toward zero, as the tables were made with, so before 1970 the day is rounded up rather than
// down.
int SolarTermDay(int year, double minutes);
