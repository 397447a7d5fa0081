#include <gtest/gtest.h>

#include "LunarGolden.h"
#include "calendar/DayNumber.h"
#include "calendar/LunarYearTable.h"

namespace {

int Entry(int year) {
    return static_cast<int>(LunarYearTable[year - 1900]);
}

int NewYearDay(int year) {
    const int md = Entry(year) & 0xFF;
    return DayNumber(year, md / 100, md % 100);
}

int LengthOfYear(int year) {
    const int e = Entry(year);
    int total = (e >> 8 & 0xF) != 0 ? 29 + (e >> 12 & 1) : 0;
    for (int m = 1; m <= 12; ++m) {
        total += 29 + (e >> (28 - m) & 1);
    }
    return total;
}

TEST(LunarYearTable, TellingRowsOfTheRealCalendar) {
    EXPECT_EQ(LunarYearTable[0], 0u);
    EXPECT_EQ(LunarYearTable[1901 - 1900], 0x04AE00DBu);
    EXPECT_EQ(LunarYearTable[2023 - 1900], 0x05B5027Au);
    EXPECT_EQ(LunarYearTable[2024 - 1900], 0x04B600D2u);
    EXPECT_EQ(LunarYearTable[2100 - 1900], 0x0D5200D1u);
    // 2025: months 1, 3, 6 and 7 have 30 days; 2033: leap eleventh month after a 30-day eleventh month.
    EXPECT_EQ(LunarYearTable[2025 - 1900], 0x0A6E0681u);
    EXPECT_EQ(LunarYearTable[2033 - 1900], 0x04AF0B83u);
}

TEST(LunarYearTable, EveryYearAddsUpToTheNextNewYear) {
    ASSERT_EQ(GoldenNewYears().size(), 201u);
    for (int y = 1901; y <= 2099; ++y) {
        EXPECT_EQ(NewYearDay(y) + LengthOfYear(y), NewYearDay(y + 1)) << y;
    }
    const GoldenDate next = GoldenNewYears()[2101 - 1901];
    EXPECT_EQ(NewYearDay(2100) + LengthOfYear(2100), DayNumber(next.year, next.month, next.day));
    for (int y = 1901; y <= 2100; ++y) {
        EXPECT_EQ(LunarYearTable[y - 1900] >> 28, 0u) << y;
        EXPECT_EQ(LunarYearTable[y - 1900] >> 13 & 7u, 0u) << y;
    }
}

TEST(LunarYearTable, AgreesWithTheReferenceCalendar) {
    ASSERT_EQ(GoldenNewYears().size(), 201u);
    for (int y = 1901; y <= 2100; ++y) {
        const GoldenDate ny = GoldenNewYears()[y - 1901];
        EXPECT_EQ(Entry(y) & 0xFF, ny.month * 100 + ny.day) << y;
    }
    // Lengths of every month in the golden data, and the leap month of every lunar year wholly inside it.
    int leapOf[2101] = {};
    for (const GoldenMonth& month : GoldenMonths()) {
        if (month.leap) {
            leapOf[month.lunarYear] = month.lunarMonth;
        }
    }
    for (int y = 1902; y <= 2098; ++y) {
        EXPECT_EQ(Entry(y) >> 8 & 0xF, leapOf[y]) << y;
    }
    for (const GoldenMonth& month : GoldenMonths()) {
        const int e = Entry(month.lunarYear);
        if (month.leap) {
            EXPECT_EQ(e >> 8 & 0xF, month.lunarMonth) << month.lunarYear;
            EXPECT_EQ(29 + (e >> 12 & 1), month.days) << month.lunarYear;
        } else {
            EXPECT_EQ(29 + (e >> (28 - month.lunarMonth) & 1), month.days)
                << month.lunarYear << "-" << +month.lunarMonth;
        }
    }
}

} // namespace
