#include "calendar/CalendarClock.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<CalendarClockSource> g_source{nullptr};

} // namespace

CalendarDate CalendarToday() {
    if (CalendarClockSource source = g_source.load()) {
        return source();
    }
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return CalendarDate{now.wYear, now.wMonth, now.wDay};
}

void SetCalendarClockSource(CalendarClockSource source) {
    g_source.store(source);
}
