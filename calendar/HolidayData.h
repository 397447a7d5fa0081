#pragma once

#include <map>
#include <string>

// Date keys are "%d-%d-%d" of year, month and day without leading zeros ("2024-2-4"), in the holiday
// file and in every look-up.
using HolidayDaySet = std::map<std::wstring, int>;
using SolarTermMap = std::map<std::wstring, std::wstring>;

// What the holiday file tells: official days off, make-up working days and the exact solar-term days of
// one year (solarTermYear, decimal digits; empty when the file names no year).
struct HolidayData {
    HolidayDaySet rest;
    HolidayDaySet work;
    SolarTermMap solarTerms;
    std::wstring solarTermYear;
};

std::wstring HolidayDateKey(int year, int month, int day);

// Reads one holiday file (UTF-8 JSON) into data. A body that is not exactly one JSON object returns false
// and changes nothing. Otherwise the rest and work sets are replaced by the file's lists, its solar terms
// are added to those already held (a date already present keeps its first name), the year is replaced,
// and every member that is missing or of the wrong type counts as empty. Time grows with the size of the
// file, not its square: a file at the 5 MiB read limit takes a fraction of a second.
bool ApplyHolidayFile(const std::string& body, HolidayData& data);

// Whether a downloaded body may replace the held file: exactly one JSON object whose members, where
// present, have their documented types ("rest" and "work" arrays of strings, "solar_terms" an object
// with a string "year" and a "data" array of objects whose "date" and "name" are strings).
bool IsCompleteHolidayFile(const std::string& body);
