#include "net/FormatRate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

// Below 100 K two decimals, below 1000 K one, up to 1024 K whole, then megabytes; nothing is negative.
TEST(FormatRateTest, EachRangeKeepsItsPrecision) {
    const struct {
        int64_t bytes;
        const wchar_t* text;
    } rows[] = {{0, L"0.00K"},
                {1, L"0K"},
                {512, L"0.5K"},
                {1024, L"1K"},
                {1536, L"1.5K"},
                {2560 + 51, L"2.55K"},
                {102400, L"100K"},
                {153610, L"150.0K"},
                {1000 * 1024 + 512, L"1000K"},
                {1048576, L"1M"},
                {1049600, L"1M"},
                {3 * 1048576 + 314573, L"3.3M"},
                {5 * 1048576, L"5M"},
                {-1, L"0.00K"},
                {150 * 1048576 + 104858, L"150.1M"},
                {std::numeric_limits<int64_t>::min(), L"0.00K"}};
    for (const auto& row : rows) {
        EXPECT_EQ(FormatRate(row.bytes), row.text) << row.bytes;
    }
}
