#pragma once

#include <string>

#include "calendar/CalendarMonth.h"
#include "calendar/HolidayData.h"

// What the calendar model hands its window. SetMonthData is called on the model's worker thread and
// must only copy; the other two come on the UI thread.
class ICalendarView {
public:
    virtual void SetMonthData(const CalendarMonth& month) = 0;
    virtual void SetHolidayDays(const HolidayDaySet& rest, const HolidayDaySet& work) = 0;
    virtual void SetSolarTermNames(const SolarTermMap& terms, const std::wstring& year) = 0;

protected:
    ~ICalendarView() = default;
};
