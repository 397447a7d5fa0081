#include "calendar/CalendarClock.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "app/base/ScopedHandle.h"

namespace {

std::atomic<CalendarClockSource> g_source{nullptr};

// A date ("YYYY-MM-DD") from the file named by DESKLING_CALENDAR_TODAY_FILE, read at every call so that
// end-to-end tests and the demo can set the widget's day and change it while it runs. False without the
// variable or a readable date.
bool DateFromFile(CalendarDate* date) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"DESKLING_CALENDAR_TODAY_FILE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    CFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char text[32] = {};
    DWORD read = 0;
    if (!file || !::ReadFile(file.Get(), text, sizeof(text) - 1, &read, nullptr)) {
        return false;
    }
    int year = 0, month = 0, day = 0;
    if (std::sscanf(text, "%d-%d-%d", &year, &month, &day) != 3 || month < 1 || month > 12 || day < 1 || day > 31) {
        return false;
    }
    *date = CalendarDate{year, month, day};
    return true;
}

} // namespace

CalendarDate CalendarToday() {
    if (CalendarClockSource source = g_source.load()) {
        return source();
    }
    CalendarDate date{};
    if (DateFromFile(&date)) {
        return date;
    }
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return CalendarDate{now.wYear, now.wMonth, now.wDay};
}

void SetCalendarClockSource(CalendarClockSource source) {
    g_source.store(source);
}
