#include <gtest/gtest.h>

#include <chrono>

#include "calendar/DayNumber.h"
#include "calendar/LunarConstants.h"

namespace {

namespace chr = std::chrono;

int ChronoDayNumber(int y, int m, int d) {
    const chr::year_month_day ymd{chr::year{y}, chr::month{static_cast<unsigned>(m)},
                                  chr::day{static_cast<unsigned>(d)}};
    return static_cast<int>(chr::sys_days{ymd}.time_since_epoch().count());
}

TEST(DayNumber, MatchesTheStandardCivilCalendarAndInvertsOverTheWholeRange) {
    const int first = ChronoDayNumber(1901, 1, 1);
    const int last = ChronoDayNumber(2100, 12, 31);
    for (int n = first; n <= last; ++n) {
        const chr::year_month_day ymd{chr::sys_days{chr::days{n}}};
        const int y = static_cast<int>(ymd.year());
        const int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
        const int d = static_cast<int>(static_cast<unsigned>(ymd.day()));
        ASSERT_EQ(DayNumber(y, m, d), n) << y << "-" << m << "-" << d;
        ASSERT_EQ(DateFromDayNumber(n), (CivilDate{y, m, d})) << n;
    }
}

TEST(DayNumber, KnownDays) {
    EXPECT_EQ(DayNumber(1970, 1, 1), 0);
    EXPECT_EQ(DayNumber(2000, 1, 1), 10957);
    EXPECT_EQ(DayNumber(1902, 1, 1), -24837);
    EXPECT_EQ(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2);
    EXPECT_EQ(DayNumber(2100, 3, 1) - DayNumber(2100, 2, 28), 1);
}

TEST(SolarTermDay, TruncatesTowardZeroBeforeAndAfter1970) {
    // (-31556925974.7 + 439320000) / 86400000 = -360.16: truncation gives -360, flooring would give -361.
    EXPECT_EQ(SolarTermDay(1969, 0.0), -360);
    // 1970: 439320000 ms is 5.08 days after 1 January.
    EXPECT_EQ(SolarTermDay(1970, 0.0), 5);
    // Start of Spring 2024 and Minor Cold 2024 fall on 4 and 6 January.
    EXPECT_EQ(DateFromDayNumber(SolarTermDay(2024, SolarTermMinutes[kStartOfSpringTerm])), (CivilDate{2024, 2, 4}));
    EXPECT_EQ(DateFromDayNumber(SolarTermDay(2024, SolarTermMinutes[0])), (CivilDate{2024, 1, 6}));
}

TEST(SolarTermDay, EveryTermFallsInItsHalfOfItsMonthThroughoutTheRange) {
    // The engine tests one candidate term per half month, so term i must fall in month i / 2 + 1, in the first
    // half for even i and the second for odd i.
    for (int y = 1902; y <= 2099; ++y) {
        for (int i = 0; i < 24; ++i) {
            const CivilDate date = DateFromDayNumber(SolarTermDay(y, SolarTermMinutes[i]));
            ASSERT_EQ(date.year, y) << i;
            ASSERT_EQ(date.month, i / 2 + 1) << y << " term " << i;
            ASSERT_EQ(date.day > 15, i % 2 == 1) << y << " term " << i;
        }
    }
}

} // namespace
