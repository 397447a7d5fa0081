#pragma once

#include <cstdint>

// The engine's result for one date and hour, two words.
// a: bits 0-3 lunar month, 4-9 lunar day, 10-15 solar term index, 16-19 Gregorian festival index, 20-23 lunar
//    festival index, 24-27 year stem, 28-31 year branch.
// b: bits 0-3 month stem, 4-7 month branch, 8-11 day stem, 12-15 day branch, 16-19 hour stem, 20-23 hour branch,
//    24-27 zodiac; flags: 28 Gregorian festival, 29 lunar festival, 30 solar term, 31 leap month.
// An index field means something only while its flag is set.
struct LunarInfo {
    uint32_t a;
    uint32_t b;

    static constexpr uint32_t kGregorianFestivalFlag = 1u << 28;
    static constexpr uint32_t kLunarFestivalFlag = 1u << 29;
    static constexpr uint32_t kSolarTermFlag = 1u << 30;
    static constexpr uint32_t kLeapFlag = 1u << 31;
    static constexpr uint32_t kFlagMask = 0xF0000000u;

    constexpr int LunarMonth() const { return static_cast<int>(a & 0xF); }
    constexpr int LunarDay() const { return static_cast<int>(a >> 4 & 0x3F); }
    constexpr int SolarTerm() const { return static_cast<int>(a >> 10 & 0x3F); }
    constexpr int GregorianFestival() const { return static_cast<int>(a >> 16 & 0xF); }
    constexpr int LunarFestival() const { return static_cast<int>(a >> 20 & 0xF); }
    constexpr int YearStem() const { return static_cast<int>(a >> 24 & 0xF); }
    constexpr int YearBranch() const { return static_cast<int>(a >> 28 & 0xF); }
    constexpr int MonthStem() const { return static_cast<int>(b & 0xF); }
    constexpr int MonthBranch() const { return static_cast<int>(b >> 4 & 0xF); }
    constexpr int DayStem() const { return static_cast<int>(b >> 8 & 0xF); }
    constexpr int DayBranch() const { return static_cast<int>(b >> 12 & 0xF); }
    constexpr int HourStem() const { return static_cast<int>(b >> 16 & 0xF); }
    constexpr int HourBranch() const { return static_cast<int>(b >> 20 & 0xF); }
    constexpr int Zodiac() const { return static_cast<int>(b >> 24 & 0xF); }
    constexpr bool IsGregorianFestival() const { return (b & kGregorianFestivalFlag) != 0; }
    constexpr bool IsLunarFestival() const { return (b & kLunarFestivalFlag) != 0; }
    constexpr bool HasSolarTerm() const { return (b & kSolarTermFlag) != 0; }
    constexpr bool IsLeapMonth() const { return (b & kLeapFlag) != 0; }
};
