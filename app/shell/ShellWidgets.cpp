#include "app/shell/ShellWidgets.h"

#include "app/shell/ShellWidgetHost.h"
#include "calendar/CalendarWnd.h"
#include "monitor/TempMonitorControl.h"
#include "monitor/TempMonitorWnd.h"
#include "news/NewsWnd.h"
#include "weather/WeatherWnd.h"

namespace {

constexpr WidgetSettings kWeatherSettings{L"weather",
                                          &CIniSettings::GetWeatherXPos,
                                          &CIniSettings::SetWeatherXPos,
                                          &CIniSettings::GetWeatherYPos,
                                          &CIniSettings::SetWeatherYPos,
                                          &CIniSettings::GetWeatherAlpha,
                                          &CIniSettings::SetWeatherAlpha,
                                          &CIniSettings::WriteRegWeatherOff,
                                          nullptr,
                                          nullptr};

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

// The monitor has no transparency slider.
constexpr WidgetSettings kTempMonitorSettings{L"tempmonitor",
                                              &CIniSettings::GetTempMonitorXPos,
                                              &CIniSettings::SetTempMonitorXPos,
                                              &CIniSettings::GetTempMonitorYPos,
                                              &CIniSettings::SetTempMonitorYPos,
                                              nullptr,
                                              nullptr,
                                              &CIniSettings::WriteRegTempMonitorOff,
                                              nullptr,
                                              nullptr};

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

// Whether the widget window W exists and shows; asking makes no window.
template <class W> bool Shown() {
    return W::HasInstance() && W::GetInstance()->GetWidget().IsShown();
}

const ShellWidget kWidgets[] = {
    {kWidgetWeather,
     {DeskCommand::OpenWeather, DeskCommand::OpenWeather},
     DeskCommand::CloseWeather,
     [](DeskCommand) { Widget<CWeatherWnd>(kWeatherSettings)->Show(true); },
     [] { Widget<CWeatherWnd>(kWeatherSettings)->Show(false); },
     [] { return Shown<CWeatherWnd>(); }},
    {kWidgetCalendar,
     {DeskCommand::OpenCalendar, DeskCommand::OpenCalendar},
     DeskCommand::CloseCalendar,
     [](DeskCommand) { Widget<CCalendarWnd>(kCalendarSettings)->Show(true); },
     [] { Widget<CCalendarWnd>(kCalendarSettings)->Show(false); },
     [] { return Shown<CCalendarWnd>(); }},
    {kWidgetNews,
     {DeskCommand::OpenNews, DeskCommand::OpenNews},
     DeskCommand::CloseNews,
     [](DeskCommand) { Widget<CNewsWnd>(kNewsSettings)->Show(true); },
     [] { Widget<CNewsWnd>(kNewsSettings)->Show(false); },
     [] { return Shown<CNewsWnd>(); }},
    {kWidgetTempMonitor,
     {DeskCommand::StartMonitor, DeskCommand::StartMonitorAuto},
     DeskCommand::ForgetMonitor,
     [](DeskCommand command) {
         // The controller shows the window; the window needs its services before that.
         Widget<CTempMonitorWnd>(kTempMonitorSettings);
         CTempMonitorControl::GetInstance()->StartMonitor(command == DeskCommand::StartMonitorAuto);
     },
     nullptr,
     // On while it shows, offers the tool or installs it, which the window alone does not tell.
     [] {
         return CTempMonitorControl::HasInstance() &&
                CTempMonitorControl::GetInstance()->GetState() != CTempMonitorControl::kStateOff;
     }},
};

} // namespace

std::span<const ShellWidget> ShellWidgets() {
    return kWidgets;
}
