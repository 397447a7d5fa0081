// Idle cost of the widgets together: CPU seconds per minute and wake-ups per second of deskling.exe started with
// each set of switches below and left alone, from a copy of the runnable tree whose services name the local
// sample-data service, with the hardware tool installed so that the monitor shows gauges rather than its offer.
// A set takes whatever widgets its switches open. Beside each, over the same interval, a bare layered window of
// the calendar's size, idle, and the wake-ups the set's timers account for: their ticks per second times what one
// tick costs, read in the same interval from a second bare window whose only activity is a 1 s timer.

#include "app/shell/MainWnd.h"
#include "bench/win/BareLayeredWindow.h"
#include "bench/win/BenchRig.h"
#include "bench/win/InstalledTool.h"
#include "bench/win/ProcessFigures.h"
#include "calendar/CalendarWnd.h"
#include "monitor/FlowMonitor.h"
#include "news/NewsWnd.h"
#include "weather/WeatherWnd.h"

#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr char kBench[] = "IdleWidgets";
constexpr DWORD kSeconds = 30;
// The hardware tool hands on a set every two seconds; idle, it wakes the monitor as a timer would.
constexpr double kToolSetMs = 2000;

constexpr double PerSecond(double periodMs) {
    return 1000.0 / periodMs;
}

// Ticks per second of the timers that run with each widget open and idle: the main window's watch, then each
// widget's own. The news carousel turns with more than one headline, as the sample service gives; the monitor's
// hover and installation timers run only while the pointer is over it or a tool is being installed.
constexpr double kMainTicks = PerSecond(CMainWnd::kWatchPeriodMs);
constexpr double kCalendarWeatherTicks = PerSecond(CCalendarWnd::kDateCheckMs) + PerSecond(CWeatherWnd::kRefreshMs);
constexpr double kNewsTicks = PerSecond(CNewsWnd::kRotateMs) + PerSecond(CNewsWnd::kRefreshMs);
constexpr double kMonitorTicks =
    PerSecond(CFlowMonitor::kSampleMs) + PerSecond(CFlowMonitor::kGateMs) + PerSecond(kToolSetMs);

struct WidgetSet {
    const char* name;
    std::vector<std::wstring> switches;
    double ticksPerSecond;
};

const WidgetSet kSets[] = {
    {"calendar and weather", {L"/calendar", L"/weather"}, kMainTicks + kCalendarWeatherTicks},
    {"calendar, weather and news",
     {L"/calendar", L"/weather", L"/news"},
     kMainTicks + kCalendarWeatherTicks + kNewsTicks},
    {"all four widgets",
     {L"/calendar", L"/weather", L"/news", L"/tempmonitor"},
     kMainTicks + kCalendarWeatherTicks + kNewsTicks + kMonitorTicks},
};

} // namespace

DESKLING_BENCH(IdleWidgets) {
    CBenchRig rig(kBench);
    CServiceTree tree;
    CInstalledTool tool;
    if (!StartWithTool(rig, tree, tool)) {
        return;
    }
    for (const WidgetSet& set : kSets) {
        // A switch no command reads names the instance's Unix process apart from that of the set before, which
        // may still be ending.
        const std::string mark = "/bench=idle-" + std::to_string(&set - kSets);
        std::wstring switches(mark.begin(), mark.end());
        for (const std::wstring& each : set.switches) {
            switches += L" " + each;
        }
        CRunningInstance instance(tree.Exe());
        CChildProcess bare, ticking;
        const std::wstring unixFolder =
            instance.Start(switches) ? UnixProcessFolder("deskling.exe", mark.c_str()) : std::wstring();
        const std::wstring bareFolder =
            StartBareWindow(bare, 387, 475) >= 0 ? UnixProcessFolder("bench-bare", "latency.txt") : std::wstring();
        const std::wstring tickingFolder = StartBareWindow(ticking, 387, 475, 1000) >= 0
                                               ? UnixProcessFolder("bench-ticking", "latency.txt")
                                               : std::wstring();
        if (unixFolder.empty() || bareFolder.empty() || tickingFolder.empty()) {
            rig.Note(std::string("deskling.exe with ") + set.name + " or the bare window did not start");
            return;
        }
        // Start-up work is over by then: fonts, skin pictures, the headlines and their pictures, the holiday file,
        // the tool's service and its first readings.
        ::Sleep(8000);
        const std::vector<IdleCost> costs = MeasureIdleTogether({unixFolder, bareFolder, tickingFolder}, kSeconds);
        const double perTick = costs[2].wakeUpsPerSecond - costs[1].wakeUpsPerSecond;
        BenchFigure(kBench, (std::string("CPU while idle, ") + set.name + " shown").c_str(), costs[0].cpuPerMinute,
                    "s/min");
        BenchFigure(kBench, "  bare layered window", costs[1].cpuPerMinute, "s/min");
        BenchFigure(kBench, (std::string("wake-ups while idle, ") + set.name + " shown").c_str(),
                    costs[0].wakeUpsPerSecond, "/s");
        BenchFigure(kBench, "  bare layered window", costs[1].wakeUpsPerSecond, "/s");
        BenchFigure(kBench, "  expected from the timers that run", set.ticksPerSecond * perTick, "/s");
        BenchFigure(kBench, (std::string("wake-ups per 1 s timer tick, beside ") + set.name).c_str(), perTick, "/tick");
    }
}
