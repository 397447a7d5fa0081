#include <gtest/gtest.h>

#include <set>

#include "app/CommandDispatch.h"

namespace {

std::vector<DeskCommand> Plan(std::set<std::wstring> switches) {
    return PlanDispatch([&switches](const std::wstring& key) { return switches.count(key) != 0; });
}

using C = DeskCommand;

} // namespace

TEST(CommandDispatch, OpensEveryWidgetAskedForInFixedOrder) {
    EXPECT_EQ(Plan({L"/news", L"/calendar", L"/weather", L"/tempmonitor"}),
              (std::vector<C>{C::OpenWeather, C::OpenCalendar, C::OpenNews, C::StartMonitor}));
}

TEST(CommandDispatch, OpenSwitchWinsOverCloseOfTheSameWidget) {
    EXPECT_EQ(Plan({L"/weather", L"/closeweather", L"/closenews"}), (std::vector<C>{C::OpenWeather, C::CloseNews}));
    EXPECT_EQ(Plan({L"/tempmonitor", L"/closetempmonitor"}), (std::vector<C>{C::StartMonitor}));
}

TEST(CommandDispatch, TempAutoOnlyModifiesTheMonitorStart) {
    EXPECT_TRUE(Plan({L"/tempauto"}).empty());
    EXPECT_EQ(Plan({L"/tempmonitor", L"/tempauto"}), (std::vector<C>{C::StartMonitorAuto}));
    EXPECT_EQ(Plan({L"/closetempmonitor"}), (std::vector<C>{C::ForgetMonitor}));
}

TEST(CommandDispatch, UninstallTakesThePlaceOfExitAndComesLast) {
    EXPECT_EQ(Plan({L"/exit", L"/uninstall", L"/calendar"}), (std::vector<C>{C::OpenCalendar, C::Uninstall}));
    EXPECT_EQ(Plan({L"/exit"}), (std::vector<C>{C::Exit}));
}

TEST(CommandDispatch, NothingForUnknownOrEmptySwitches) {
    EXPECT_TRUE(Plan({}).empty());
    EXPECT_TRUE(Plan({L"/WEATHER", L"weather", L"/guide"}).empty());
}
