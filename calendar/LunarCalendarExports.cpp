// The exported C interface. Another program may load deskling.exe with LoadLibrary; Wine then binds none of its
// imports and runs none of its start-up code, so every entry binds the imports first and nothing here depends on
// static construction.
#define DESKLING_LUNAR_EXPORTS
#include "calendar/LunarCalendarApi.h"

#include "calendar/ImportBinder.h"
#include "calendar/LunarCalendar.h"

namespace {

using Ops = CLunarCalendarOps<CCrtLunarEnv>;

const char* CallText(LunarCalendar* calendar, LunarTextOperation LunarCalendar::*operation) {
    if (!calendar || !CImportBinder::EnsureOwnImportsBound()) {
        return nullptr;
    }
    return (calendar->*operation)(calendar);
}

} // namespace

extern "C" {

LunarCalendar* LC_CALL LCCreateLunarCalendar(void) {
    if (!CImportBinder::EnsureOwnImportsBound()) {
        return nullptr;
    }
    const time_t now = time(nullptr);
    const struct tm* local = localtime(&now);
    if (!local) {
        return nullptr;
    }
    struct tm time = *local;
    time.tm_mon += 1;
    return LCCreateLunarCalendarWithTime(time);
}

LunarCalendar* LC_CALL LCCreateLunarCalendarWithTime(struct tm time) {
    if (!CImportBinder::EnsureOwnImportsBound()) {
        return nullptr;
    }
    return Ops::CreateFromTm(time);
}

const char* LC_CALL LCLunarDate(LunarCalendar* calendar) {
    return CallText(calendar, &LunarCalendar::lunarDate);
}

const char* LC_CALL LCEightWord(LunarCalendar* calendar) {
    return CallText(calendar, &LunarCalendar::eightWord);
}

const char* LC_CALL LCZodiac(LunarCalendar* calendar) {
    return CallText(calendar, &LunarCalendar::zodiac);
}

const char* LC_CALL LCSolarTerm(LunarCalendar* calendar) {
    return CallText(calendar, &LunarCalendar::solarTerm);
}

const char* LC_CALL LCFestival(LunarCalendar* calendar) {
    return CallText(calendar, &LunarCalendar::festival);
}

void LC_CALL LCReleaseLunarCalendar(LunarCalendar* calendar) {
    if (calendar && CImportBinder::EnsureOwnImportsBound()) {
        Ops::Release(calendar);
    }
}

} // extern "C"
