// The hardware monitor's running cost: CPU seconds per minute and wake-ups per second of deskling.exe while the
// monitor shows two live gauges (the tool installed by the build's setup, its sensor file changing every two
// seconds, the network rates sampled), beside the same process over as long an interval after its close button. Under
// Wine the adapter set is empty, so the rates stay at zero.

#include "bench/win/BenchRig.h"
#include "bench/win/InstalledTool.h"
#include "bench/win/ProcessFigures.h"

#include <string>

namespace {

using namespace bench;

constexpr char kBench[] = "MonitorWidget";
constexpr DWORD kSeconds = 30;
// The tool measures every two seconds; readings that change make the gauges redraw.
constexpr DWORD kSensorPeriod = 2;
constexpr WPARAM kCloseButton = 1;

} // namespace

DESKLING_BENCH(MonitorWidget) {
    CBenchRig rig(kBench);
    CServiceTree tree;
    CInstalledTool tool;
    if (!StartWithTool(rig, tree, tool)) {
        return;
    }
    CRunningInstance instance(tree.Exe());
    // A switch no command reads names the instance's Unix process.
    if (!instance.Start(L"/weather /bench=monitor") ||
        !ForwardedLatencies(tree.Exe(), L"/tempmonitor", {"[tempmonitor] hardware source connected:1"})) {
        rig.Note("the monitor did not connect to the hardware tool");
        return;
    }
    const std::wstring unixFolder = UnixProcessFolder("deskling.exe", "/bench=monitor");
    if (unixFolder.empty()) {
        rig.Note("the Unix process was not found under /proc");
        return;
    }
    // The library hands the first set on within a few seconds of the service's start.
    ::Sleep(5000);
    const auto changeSensors = [&](DWORD second) {
        if (second % kSensorPeriod == 0) {
            const int step = static_cast<int>(second / kSensorPeriod % 3);
            tool.SetSensors(47 + step, 38 + step);
        }
    };
    const IdleCost shown = MeasureIdle(unixFolder, kSeconds, changeSensors);
    // Closed as its close button closes it: "/closetempmonitor" leaves it on screen.
    HWND monitor = WaitForWindow(L"VexawpTempMonitorClass", instance.Id(), 0ms);
    ::PostMessageW(monitor, WM_COMMAND, kCloseButton, 0);
    if (!WaitUntil([&] { return !::IsWindowVisible(monitor); }, 5s)) {
        rig.Note("the monitor did not close");
        return;
    }
    ::Sleep(3000);
    const IdleCost closed = MeasureIdle(unixFolder, kSeconds, changeSensors);
    BenchFigure(kBench, "CPU with two live gauges", shown.cpuPerMinute, "s/min");
    BenchFigure(kBench, "  same process, monitor closed", closed.cpuPerMinute, "s/min");
    BenchFigure(kBench, "wake-ups with two live gauges", shown.wakeUpsPerSecond, "/s");
    BenchFigure(kBench, "  same process, monitor closed", closed.wakeUpsPerSecond, "/s");
}
