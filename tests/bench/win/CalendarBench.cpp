// The calendar widget's cost, each figure next to a bare Wine GUI process (one idle 387x475 layered
// window, nothing else) measured in the same run:
// - latency: "/calendar" reaching a running instance (its "MSG_COPYDATA_CMD_LINE" log line) to the first
//   frame that carries the month ("calendar first frame"); the bare process times its own window
//   creation to its first pushed frame;
// - CPU seconds per minute and wake-ups per second while shown and idle, both processes over the same interval;
// - private memory with the calendar open.

#include "bench/win/BareLayeredWindow.h"
#include "bench/win/BenchRig.h"
#include "bench/win/ProcessFigures.h"

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr char kBench[] = "CalendarWidget";
constexpr int kLatencyRuns = 5;
constexpr DWORD kIdleSeconds = 20;

const std::vector<std::string> kFirstFrame = {"calendar first frame"};

} // namespace

DESKLING_BENCH(CalendarWidget) {
    CBenchRig rig(kBench);
    if (!rig.Start()) {
        return;
    }
    const std::optional<std::vector<double>> latencies =
        MedianForwardedLatencies(rig, DesklingExe(), L"/calendar", kFirstFrame, kLatencyRuns, SIZE{387, 475});
    if (!latencies) {
        return;
    }
    BenchFigure(kBench, "\"/calendar\" arrived -> first frame with the month, median of 5", (*latencies)[0], "ms");
    BenchFigure(kBench, "  bare layered window: creation -> first frame, median", (*latencies)[1], "ms");

    // Idle cost and memory: the calendar shown and left alone, beside the bare window, over one interval.
    CRunningInstance instance;
    CChildProcess bare;
    // The calendar alone, its process named by a switch of its own; its first frame is the next one logged.
    ClearLog();
    if (!instance.Start(L"/calendar /bench=calendar-idle") || !WaitForLog(L"calendar first frame", 10s) ||
        StartBareWindow(bare, 387, 475) < 0) {
        rig.Note("the idle measurement could not start");
        return;
    }
    const std::wstring desklingUnix = UnixProcessFolder("deskling.exe", "/bench=calendar-idle");
    const std::wstring bareUnix = UnixProcessFolder("bench-bare", "latency.txt");
    if (desklingUnix.empty() || bareUnix.empty()) {
        rig.Note("the Unix processes were not found under /proc");
        return;
    }
    // Start-up work (fonts, skin pictures, the holiday request) is over after a few seconds.
    ::Sleep(3000);
    const double desklingBefore = CpuSeconds(desklingUnix), bareBefore = CpuSeconds(bareUnix);
    const ThreadWakeUps desklingWoke = WakeUps(desklingUnix), bareWoke = WakeUps(bareUnix);
    ::Sleep(kIdleSeconds * 1000);
    const double perMinute = 60.0 / kIdleSeconds;
    BenchFigure(kBench, "CPU while shown and idle", (CpuSeconds(desklingUnix) - desklingBefore) * perMinute, "s/min");
    BenchFigure(kBench, "  bare layered window", (CpuSeconds(bareUnix) - bareBefore) * perMinute, "s/min");
    BenchFigure(kBench, "wake-ups while shown and idle", WakeUpsSince(desklingWoke, desklingUnix) / kIdleSeconds, "/s");
    BenchFigure(kBench, "  bare layered window", WakeUpsSince(bareWoke, bareUnix) / kIdleSeconds, "/s");
    BenchFigure(kBench, "private memory with the calendar open", PrivateMegabytes(desklingUnix), "MiB");
    BenchFigure(kBench, "  bare layered window", PrivateMegabytes(bareUnix), "MiB");
}
