#include <gtest/gtest.h>

#include <set>

#include "app/shell/CommandDispatch.h"

TEST(CommandDispatch, PlansEachWidgetOnceInFixedOrderWithOpenOverCloseAndUninstallOverExit) {
    using C = DeskCommand;
    const struct {
        std::set<std::wstring> switches;
        std::vector<C> plan;
    } rows[] = {
        {{L"/news", L"/calendar", L"/weather", L"/tempmonitor"},
         {C::OpenWeather, C::OpenCalendar, C::OpenNews, C::StartMonitor}},
        {{L"/weather", L"/closeweather", L"/closenews", L"/closecalendar"},
         {C::OpenWeather, C::CloseCalendar, C::CloseNews}},
        {{L"/tempmonitor", L"/closetempmonitor", L"/tempauto"}, {C::StartMonitorAuto}},
        {{L"/closetempmonitor"}, {C::ForgetMonitor}},
        {{L"/tempauto"}, {}},
        {{L"/exit", L"/uninstall", L"/calendar"}, {C::OpenCalendar, C::Uninstall}},
        {{L"/exit"}, {C::Exit}},
        {{L"/WEATHER", L"weather", L"/guide"}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.switches));
        EXPECT_EQ(PlanDispatch([&](const std::wstring& key) { return row.switches.count(key) != 0; }), row.plan);
    }
}
