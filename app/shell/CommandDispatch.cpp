#include "app/shell/CommandDispatch.h"

std::vector<DeskCommand> PlanDispatch(const std::function<bool(const std::wstring&)>& has) {
    std::vector<DeskCommand> plan;
    struct WidgetSwitches {
        const wchar_t* open;
        const wchar_t* close;
        DeskCommand openCommand;
        DeskCommand closeCommand;
    };
    static const WidgetSwitches widgets[] = {
        {L"/weather", L"/closeweather", DeskCommand::OpenWeather, DeskCommand::CloseWeather},
        {L"/calendar", L"/closecalendar", DeskCommand::OpenCalendar, DeskCommand::CloseCalendar},
        {L"/news", L"/closenews", DeskCommand::OpenNews, DeskCommand::CloseNews},
    };
    for (const WidgetSwitches& w : widgets) {
        if (has(w.open)) {
            plan.push_back(w.openCommand);
        } else if (has(w.close)) {
            plan.push_back(w.closeCommand);
        }
    }
    if (has(L"/tempmonitor")) {
        plan.push_back(has(L"/tempauto") ? DeskCommand::StartMonitorAuto : DeskCommand::StartMonitor);
    } else if (has(L"/closetempmonitor")) {
        plan.push_back(DeskCommand::ForgetMonitor);
    }
    if (has(L"/uninstall")) {
        plan.push_back(DeskCommand::Uninstall);
    } else if (has(L"/exit")) {
        plan.push_back(DeskCommand::Exit);
    }
    return plan;
}
