#pragma once

#include <cstdint>

// Offset of each solar term within the tropical year in minutes; index 0 is Minor Cold in early January, the
// order that of the solar-term glyphs.
inline constexpr double SolarTermMinutes[24] = {
    0.0,       21208.24,  42467.01,  63835.73, 85337.11,  107014.43, 128866.98, 150921.21,
    173149.3,  195551.09, 218071.54, 240693.2, 263342.68, 285989.12, 308562.77, 331033.37,
    353350.09, 375494.33, 397447.42, 419210.1, 440794.79, 462224.19, 483532.02, 504757.96,
};

// Start of Spring: the year and month pillars turn over at it.
inline constexpr int kStartOfSpringTerm = 2;

// Festival dates. 0-9: Gregorian, month * 256 + day; 10-19: lunar, 0x1000 + month * 256 + day. Entry i names the
// festival glyph i (Gregorian) or i - 10 (lunar); entry 12 (0x1000, month 0) never matches.
inline constexpr uint32_t FestivalTable[20] = {
    0x101,  0x308,  0x30C,  0x501,  0x504,  0x601,  0x701,  0x801,  0x90A,  0xA01,
    0x1101, 0x110F, 0x1000, 0x1505, 0x1707, 0x170F, 0x180F, 0x1909, 0x1C08, 0x1C1E,
};

inline constexpr int kGregorianFestivalCount = 10;
// Lunar festival index of New Year's Eve, also given to the 29th of a 29-day twelfth month.
inline constexpr int kNewYearsEveFestival = 9;
