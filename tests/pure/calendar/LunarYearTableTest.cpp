#include <gtest/gtest.h>

#include "LunarGolden.h"
#include "app/base/CivilDate.h"
#include "calendar/LunarYearTable.h"

namespace {

// The table's days for 1902-2099 are checked day by day through the engine against the reference calendar;
// here the rows themselves.

int NewYearDay(int year) {
    const int md = static_cast<int>(LunarYearTable[year - 1900] & 0xFF);
    return DayNumber(year, md / 100, md % 100);
}

int LengthOfYear(int year) {
    const uint32_t e = LunarYearTable[year - 1900];
    int total = (e >> 8 & 0xF) != 0 ? 29 + static_cast<int>(e >> 12 & 1) : 0;
    for (int m = 1; m <= 12; ++m) {
        total += 29 + static_cast<int>(e >> (28 - m) & 1);
    }
    return total;
}

TEST(LunarYearTable, EveryYearAddsUpToTheNextNewYear) {
    const std::vector<GoldenDate>& newYears = GoldenNewYears();
    ASSERT_EQ(newYears.size(), 201u);
    for (int y = 1901; y <= 2100; ++y) {
        const GoldenDate next = newYears[y + 1 - 1901];
        EXPECT_EQ(NewYearDay(y) + LengthOfYear(y), DayNumber(next.year, next.month, next.day)) << y;
        EXPECT_EQ(LunarYearTable[y - 1900] & 0xF000E000u, 0u) << "unused bits of " << y;
    }
}

} // namespace
