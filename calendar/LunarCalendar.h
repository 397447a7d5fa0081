#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "calendar/ComputeLunarInfo.h"
#include "calendar/LunarText.h"

struct LunarCalendar;
using LunarTextOperation = const char* (*)(LunarCalendar*);

// The object behind an exported handle. Its layout is part of the interface other programs see.
struct LunarCalendar {
    LunarTextOperation lunarDate;
    LunarTextOperation eightWord;
    LunarTextOperation zodiac;
    LunarTextOperation solarTerm;
    LunarTextOperation festival;
    LunarInfo info;
    PackedDate date;
    int32_t state; // kNotComputed, kComputed or kRejected
    uint32_t written;
    char* buffer; // owned; null until the first text call

    static constexpr int32_t kNotComputed = 0;
    static constexpr int32_t kComputed = 1;
    static constexpr int32_t kRejected = -1;
};

// Memory and error reporting of the C library, as the exported interface uses them.
struct CCrtLunarEnv {
    static void* AllocZeroed(size_t size) { return std::calloc(1, size); }
    static void* Resize(void* block, size_t size) { return std::realloc(block, size); }
    static void Free(void* block) { std::free(block); }
    static void Report(const char* message) { std::perror(message); }
};

// Creation, the five text operations and release of a LunarCalendar, over an environment that supplies
// AllocZeroed, Resize, Free and Report (CCrtLunarEnv in the program, fakes in tests).
// Allocation failures: a create returns null; a text call whose buffer cannot be resized returns null and keeps
// the handle as it was, so a later call may still succeed.
template <class Env> class CLunarCalendarOps {
public:
    static LunarCalendar* Create(PackedDate date) {
        auto* calendar = static_cast<LunarCalendar*>(Env::AllocZeroed(sizeof(LunarCalendar)));
        if (!calendar) {
            return nullptr;
        }
        calendar->lunarDate = &Text<LunarText::Date>;
        calendar->eightWord = &Text<LunarText::EightWord>;
        calendar->zodiac = &Text<LunarText::Zodiac>;
        calendar->solarTerm = &Text<LunarText::SolarTerm>;
        calendar->festival = &Text<LunarText::Festival>;
        calendar->date = date;
        return calendar;
    }

    // tm_mon counts from 1 here, unlike the C library's; only year, month, day and hour are read.
    static LunarCalendar* CreateFromTm(const std::tm& time) {
        return Create(MakePackedDate(time.tm_year + 1900, time.tm_mon, time.tm_mday, time.tm_hour));
    }

    static void Release(LunarCalendar* calendar) {
        if (!calendar) {
            return;
        }
        char* buffer = calendar->buffer;
        std::memset(calendar, 0, sizeof(LunarCalendar));
        Env::Free(buffer);
        Env::Free(calendar);
    }

private:
    template <LunarText kText> static const char* Text(LunarCalendar* calendar) {
        if (calendar->state == LunarCalendar::kNotComputed) {
            Compute(calendar);
        }
        if (calendar->state != LunarCalendar::kComputed) {
            return nullptr;
        }
        constexpr size_t kSize = LunarTextSize(kText);
        char* buffer = static_cast<char*>(Env::Resize(calendar->buffer, kSize));
        if (!buffer) {
            return nullptr;
        }
        calendar->buffer = buffer;
        std::memset(buffer, 0, kSize);
        calendar->written = 0;
        ComposeLunarText(kText, calendar->info, buffer, &calendar->written);
        return buffer;
    }

    static void Compute(LunarCalendar* calendar) {
        calendar->info.b &= ~LunarInfo::kFlagMask;
        if (ComputeLunarInfo(&calendar->info, calendar->date) == 0) {
            calendar->state = LunarCalendar::kComputed;
            return;
        }
        char message[256];
        std::snprintf(message, sizeof(message), "Unknown date %d-%02d-%02d!\n", PackedYear(calendar->date),
                      PackedMonth(calendar->date), PackedDay(calendar->date));
        Env::Report(message);
        calendar->state = LunarCalendar::kRejected;
    }
};
