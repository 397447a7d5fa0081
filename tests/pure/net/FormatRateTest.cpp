#include "net/FormatRate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

TEST(FormatRateTest, TheDocumentedValues) {
    const std::vector<std::pair<int64_t, std::wstring>> cases = {
        {0, L"0.00K"},
        {1, L"0K"},
        {512, L"0.5K"},
        {1024, L"1K"},
        {1536, L"1.5K"},
        {102400, L"100K"},
        {1048576, L"1M"},
        {1049600, L"1M"},
        {153610, L"150.0K"},
        {-1, L"0.00K"},
        {std::numeric_limits<int64_t>::min(), L"0.00K"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(FormatRate(bytes), text) << bytes;
    }
}

TEST(FormatRateTest, EachRangeKeepsItsPrecision) {
    // Below 100 K two decimals, below 1000 K one, up to 1024 K whole, then megabytes.
    EXPECT_EQ(FormatRate(2560 + 51), L"2.55K");
    EXPECT_EQ(FormatRate(1000 * 1024 + 512), L"1000K");
    EXPECT_EQ(FormatRate(3 * 1048576 + 314573), L"3.3M");
    EXPECT_EQ(FormatRate(150 * 1048576 + 104858), L"150.1M");
    EXPECT_EQ(FormatRate(5 * 1048576), L"5M");
}
