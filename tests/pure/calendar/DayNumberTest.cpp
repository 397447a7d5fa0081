#include <gtest/gtest.h>

#include <chrono>

#include "app/base/CivilDate.h"
#include "calendar/LunarConstants.h"
#include "calendar/SolarTermDay.h"

namespace {

namespace chr = std::chrono;

TEST(DayNumber, MatchesTheStandardCivilCalendarAndInvertsOverTheWholeRange) {
    const chr::sys_days first{chr::year{1901} / 1 / 1}, last{chr::year{2100} / 12 / 31};
    for (chr::sys_days day = first; day <= last; day += chr::days{1}) {
        const chr::year_month_day ymd{day};
        const CivilDate date{static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                             static_cast<int>(static_cast<unsigned>(ymd.day()))};
        const int n = static_cast<int>(day.time_since_epoch().count());
        ASSERT_EQ(DayNumber(date.year, date.month, date.day), n) << date.year << "-" << date.month << "-" << date.day;
        ASSERT_EQ(DateFromDayNumber(n), date) << n;
    }
}

TEST(SolarTermDay, TruncatesTowardZeroBeforeAndAfter1970) {
    // (-31556925974.7 + 439320000) / 86400000 = -360.16: truncation gives -360, flooring would give -361.
    EXPECT_EQ(SolarTermDay(1969, 0.0), -360);
    // 1970: 439320000 ms is 5.08 days after 1 January.
    EXPECT_EQ(SolarTermDay(1970, 0.0), 5);
    EXPECT_EQ(DateFromDayNumber(SolarTermDay(2024, SolarTermMinutes[kStartOfSpringTerm])), (CivilDate{2024, 2, 4}));
}

} // namespace
