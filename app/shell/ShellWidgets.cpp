#include "app/shell/ShellWidgets.h"

#include "app/shell/PlaceholderWidget.h"
#include "app/shell/ShellWidgetHost.h"
#include "calendar/CalendarWnd.h"
#include "news/NewsWnd.h"

namespace {

constexpr WidgetSettings kCalendarSettings{L"calendar",
                                           &CIniSettings::GetCalendarXPos,
                                           &CIniSettings::SetCalendarXPos,
                                           &CIniSettings::GetCalendarYPos,
                                           &CIniSettings::SetCalendarYPos,
                                           &CIniSettings::GetCalendarAlpha,
                                           &CIniSettings::SetCalendarAlpha,
                                           &CIniSettings::WriteRegCalendarOff,
                                           nullptr,
                                           nullptr};

constexpr WidgetSettings kNewsSettings{L"news",
                                       &CIniSettings::GetNewsXPos,
                                       &CIniSettings::SetNewsXPos,
                                       &CIniSettings::GetNewsYPos,
                                       &CIniSettings::SetNewsYPos,
                                       nullptr,
                                       nullptr,
                                       &CIniSettings::WriteRegNewsOff,
                                       &CIniSettings::GetNewsLock,
                                       &CIniSettings::SetNewsLock};

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
     [] { WeatherWidget().Show(false); }},
    {kWidgetCalendar,
     {DeskCommand::OpenCalendar, DeskCommand::OpenCalendar},
     DeskCommand::CloseCalendar,
     [](DeskCommand) { Widget<CCalendarWnd>(kCalendarSettings)->Show(true); },
     [] { Widget<CCalendarWnd>(kCalendarSettings)->Show(false); }},
    {kWidgetNews,
     {DeskCommand::OpenNews, DeskCommand::OpenNews},
     DeskCommand::CloseNews,
     [](DeskCommand) { Widget<CNewsWnd>(kNewsSettings)->Show(true); },
     [] { Widget<CNewsWnd>(kNewsSettings)->Show(false); }},
    {kWidgetTempMonitor,
     {DeskCommand::StartMonitor, DeskCommand::StartMonitorAuto},
     DeskCommand::ForgetMonitor,
     [](DeskCommand command) { TempMonitorWidget().StartMonitor(command == DeskCommand::StartMonitorAuto); },
     nullptr},
};

} // namespace

std::span<const ShellWidget> ShellWidgets() {
    return kWidgets;
}
