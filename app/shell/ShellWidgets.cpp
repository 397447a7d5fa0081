#include "app/shell/ShellWidgets.h"

#include "app/shell/PlaceholderWidget.h"
#include "app/shell/ShellWidgetHost.h"
#include "calendar/CalendarWnd.h"

namespace {

constexpr WidgetSettings kCalendarSettings{L"calendar",
                                           &CIniSettings::GetCalendarXPos,
                                           &CIniSettings::SetCalendarXPos,
                                           &CIniSettings::GetCalendarYPos,
                                           &CIniSettings::SetCalendarYPos,
                                           &CIniSettings::GetCalendarAlpha,
                                           &CIniSettings::SetCalendarAlpha,
                                           &CIniSettings::WriteRegCalendarOff};

// The widget window W, handed the services behind it when the table first reaches it.
template <class W> W* Widget(const WidgetSettings& settings) {
    static CShellWidgetHost host(settings);
    static W* window = [] {
        W* created = W::GetInstance();
        created->GetWidget().SetHost(&host);
        return created;
    }();
    return window;
}

const ShellWidget kWidgets[] = {
    {kWidgetWeather,
     {DeskCommand::OpenWeather, DeskCommand::OpenWeather},
     DeskCommand::CloseWeather,
     [](DeskCommand) { WeatherWidget().Show(true); },
     [] { WeatherWidget().Show(false); },
     [] { return WeatherWidget().IsShown(); }},
    {kWidgetCalendar,
     {DeskCommand::OpenCalendar, DeskCommand::OpenCalendar},
     DeskCommand::CloseCalendar,
     [](DeskCommand) { Widget<CCalendarWnd>(kCalendarSettings)->Show(true); },
     [] { Widget<CCalendarWnd>(kCalendarSettings)->Show(false); },
     [] { return CCalendarWnd::HasInstance() && CCalendarWnd::GetInstance()->GetWidget().IsShown(); }},
    {kWidgetNews,
     {DeskCommand::OpenNews, DeskCommand::OpenNews},
     DeskCommand::CloseNews,
     [](DeskCommand) { NewsWidget().Show(true); },
     [] { NewsWidget().Show(false); },
     [] { return NewsWidget().IsShown(); }},
    {kWidgetTempMonitor,
     {DeskCommand::StartMonitor, DeskCommand::StartMonitorAuto},
     DeskCommand::ForgetMonitor,
     [](DeskCommand command) { TempMonitorWidget().StartMonitor(command == DeskCommand::StartMonitorAuto); },
     nullptr,
     [] { return TempMonitorWidget().IsShown(); }},
};

} // namespace

std::span<const ShellWidget> ShellWidgets() {
    return kWidgets;
}
