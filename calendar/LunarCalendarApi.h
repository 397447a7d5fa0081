/* The lunar calendar interface exported by name from deskling.exe, for programs that load the executable with
 * LoadLibrary and look the functions up with GetProcAddress. Plain C; every function uses the C calling convention.
 *
 * Texts are GBK (code page 936), two bytes per Chinese character, ended by one zero byte.
 * Ownership: a handle belongs to the caller from its creation until LCReleaseLunarCalendar. A returned text
 * belongs to the handle: it stays valid until the next text call on the same handle or its release, so copy it
 * before the next call. Never free a text yourself.
 * A handle is not safe for simultaneous use from two threads; distinct handles are independent.
 */
#ifndef DESKLING_CALENDAR_LUNAR_CALENDAR_API_H
#define DESKLING_CALENDAR_LUNAR_CALENDAR_API_H

#include <time.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define LC_CALL __cdecl
#else
#define LC_CALL
#endif

#if defined(_WIN32) && defined(DESKLING_LUNAR_EXPORTS)
#define LC_API __declspec(dllexport)
#else
#define LC_API
#endif

/* Opaque to callers. */
typedef struct LunarCalendar LunarCalendar;

/* A handle for the current local date and hour, or null when memory is short. */
LC_API LunarCalendar* LC_CALL LCCreateLunarCalendar(void);

/* A handle for tm_year (years since 1900), tm_mon (counted from 1, January = 1, unlike localtime), tm_mday and
 * tm_hour; the other fields are ignored. Null when memory is short. Years outside 1902-2099 give a handle whose
 * text calls all return null after one "Unknown date" report on standard error. */
LC_API LunarCalendar* LC_CALL LCCreateLunarCalendarWithTime(struct tm time);

/* Texts owned by the handle (see above); null for a rejected date or when memory is short. */
LC_API const char* LC_CALL LCLunarDate(LunarCalendar* calendar); /* lunar month and day */
LC_API const char* LC_CALL LCEightWord(LunarCalendar* calendar); /* stems and branches of year, month, day, hour */
LC_API const char* LC_CALL LCZodiac(LunarCalendar* calendar);    /* the year's animal */
LC_API const char* LC_CALL LCSolarTerm(LunarCalendar* calendar); /* the day's solar term, or empty */
LC_API const char* LC_CALL LCFestival(LunarCalendar* calendar);  /* the day's festivals, or empty */

/* Frees the handle and its text; null is ignored. The handle and its texts are invalid afterwards. */
LC_API void LC_CALL LCReleaseLunarCalendar(LunarCalendar* calendar);

/* Pointer types for GetProcAddress results. */
typedef LunarCalendar*(LC_CALL* LCCreateLunarCalendarFn)(void);
typedef LunarCalendar*(LC_CALL* LCCreateLunarCalendarWithTimeFn)(struct tm time);
typedef const char*(LC_CALL* LCTextFn)(LunarCalendar* calendar);
typedef void(LC_CALL* LCReleaseLunarCalendarFn)(LunarCalendar* calendar);

#ifdef __cplusplus
}
#endif

#endif
