// Idle cost of the widgets together: CPU seconds per minute and wake-ups per second of deskling.exe started with
// each set of switches below and left alone, from a copy of the runnable tree whose services name the local
// sample-data service, with the hardware tool installed so that the monitor shows gauges rather than its offer.
// A set takes whatever widgets its switches open. Beside each, over the same interval, a bare layered window of
// the calendar's size, idle.

#include "bench/win/BenchRig.h"
#include "bench/win/InstalledTool.h"
#include "bench/win/ProcessFigures.h"

#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr char kBench[] = "IdleWidgets";
constexpr DWORD kSeconds = 30;

struct WidgetSet {
    const char* name;
    std::vector<std::wstring> switches;
};

const WidgetSet kSets[] = {
    {"calendar and weather", {L"/calendar", L"/weather"}},
    {"calendar, weather and news", {L"/calendar", L"/weather", L"/news"}},
    {"all four widgets", {L"/calendar", L"/weather", L"/news", L"/tempmonitor"}},
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
        CChildProcess bare;
        const std::wstring unixFolder =
            instance.Start(switches) ? UnixProcessFolder("deskling.exe", mark.c_str()) : std::wstring();
        const std::wstring bareFolder =
            StartBareWindow(bare, 387, 475) >= 0 ? UnixProcessFolder("bench-bare", "latency.txt") : std::wstring();
        if (unixFolder.empty() || bareFolder.empty()) {
            rig.Note(std::string("deskling.exe with ") + set.name + " or the bare window did not start");
            return;
        }
        // Start-up work is over by then: fonts, skin pictures, the headlines and their pictures, the holiday file,
        // the tool's service and its first readings.
        ::Sleep(8000);
        const std::vector<IdleCost> costs = MeasureIdleTogether({unixFolder, bareFolder}, kSeconds);
        BenchFigure(kBench, (std::string("CPU while idle, ") + set.name + " shown").c_str(), costs[0].cpuPerMinute,
                    "s/min");
        BenchFigure(kBench, "  bare layered window", costs[1].cpuPerMinute, "s/min");
        BenchFigure(kBench, (std::string("wake-ups while idle, ") + set.name + " shown").c_str(),
                    costs[0].wakeUpsPerSecond, "/s");
        BenchFigure(kBench, "  bare layered window", costs[1].wakeUpsPerSecond, "/s");
    }
}
