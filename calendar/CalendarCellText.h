#pragma once

#include <string>

#include "calendar/HolidayData.h"
#include "calendar/LunarInfo.h"
#include "calendar/PackedDate.h"

// The calendar window's own texts (the engine's GBK texts serve only the exported interface).
const wchar_t* WeekdayHeaderText(int column);    // 0 = Monday ... 6 = Sunday
const wchar_t* EnglishMonthName(int month);      // 1..12; empty otherwise
const wchar_t* LunarMonthName(int month);        // 1..12; empty otherwise
const wchar_t* LunarDayName(int day);            // 1..30; empty otherwise
const wchar_t* GregorianFestivalName(int index); // 0..9; empty otherwise
const wchar_t* SolarTermName(int index);         // 0..23; empty otherwise
const wchar_t* LunarFestivalName(int index);     // 0..9; empty otherwise

// The small text under a day number. Later rules win: the lunar day (or on a lunar first day the
// lunar month), then the solar term (from the holiday file in its own year, from the engine in any
// other), then a lunar festival, then a Gregorian festival.
std::wstring CellSubText(const LunarInfo& lunar, PackedDate date, const SolarTermMap& terms,
                         const std::wstring& termYear);

// CellSubText with the one correction the engine's tables need: 21 and 22 December 2017 fall a day
// off, so they are fixed to "初四" and "冬至".
std::wstring DisplayedSubText(const LunarInfo& lunar, PackedDate date, const SolarTermMap& terms,
                              const std::wstring& termYear);

enum class CellBadge { None = 0, Rest = 1, Work = 2 };

// 班 for a make-up working day, else 休 for a day off; a date in both lists is a working day.
CellBadge CellBadgeFor(PackedDate date, const HolidayDaySet& rest, const HolidayDaySet& work);
