#pragma once

#include <functional>
#include <string>
#include <vector>

// What a command line asks the main window to do, in the order it must be done. Each widget's
// switches are looked at independently, so one command line can open several widgets; an open
// switch wins over the same widget's close switch.
enum class DeskCommand {
    OpenWeather,
    CloseWeather,
    OpenCalendar,
    CloseCalendar,
    OpenNews,
    CloseNews,
    StartMonitor,     // "/tempmonitor" without "/tempauto"
    StartMonitorAuto, // "/tempmonitor" with "/tempauto"
    ForgetMonitor,    // "/closetempmonitor": no longer counted as open; the monitor stays on screen
    Uninstall,        // delete the data folder, then close
    Exit,
};

std::vector<DeskCommand> PlanDispatch(const std::function<bool(const std::wstring&)>& has);
