#pragma once

#include <cstdint>

// A Gregorian date and hour in one word: bits 0-11 year, 12-15 month (1-12), 16-21 day, 22-27 hour; bits 28-31
// are ignored by the engine.
using PackedDate = uint32_t;

constexpr PackedDate MakePackedDate(int year, int month, int day, int hour = 0) {
    return (static_cast<uint32_t>(year) & 0xFFF) | (static_cast<uint32_t>(month) & 0xF) << 12 |
           (static_cast<uint32_t>(day) & 0x3F) << 16 | (static_cast<uint32_t>(hour) & 0x3F) << 22;
}

constexpr int PackedYear(PackedDate date) {
    return static_cast<int>(date & 0xFFF);
}
constexpr int PackedMonth(PackedDate date) {
    return static_cast<int>(date >> 12 & 0xF);
}
constexpr int PackedDay(PackedDate date) {
    return static_cast<int>(date >> 16 & 0x3F);
}
constexpr int PackedHour(PackedDate date) {
    return static_cast<int>(date >> 22 & 0x3F);
}
