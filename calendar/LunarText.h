#pragma once

#include <cstddef>
#include <cstdint>

#include "calendar/LunarInfo.h"

// The five texts of the exported interface, in the order of a handle's operation pointers.
enum class LunarText { Date, EightWord, Zodiac, SolarTerm, Festival };

// Buffer size of each text including its terminating zero: enough for its longest form.
constexpr size_t LunarTextSize(LunarText text) {
    switch (text) {
    case LunarText::Date:
        return 11;
    case LunarText::EightWord:
        return 25;
    case LunarText::Zodiac:
        return 3;
    case LunarText::SolarTerm:
        return 5;
    case LunarText::Festival:
        return 12;
    }
    return 0;
}

// Appends the GBK text for `info` at buffer + *written, counting the bytes in *written. The buffer holds
// LunarTextSize(text) bytes and is zero-filled beforehand, which terminates the text.
void ComposeLunarText(LunarText text, const LunarInfo& info, char* buffer, uint32_t* written);
