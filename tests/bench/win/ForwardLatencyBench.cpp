// Forwarding latency: from the start of a later deskling.exe to the running instance having parsed the
// command line it forwarded, median of 20 runs, next to the start-to-exit time of a trivial Wine console
// program measured in the same run (the floor that process creation under Wine sets).
//
// The running instance logs "MSG_COPYDATA_CMD_LINE <text>" as it takes the text up to parse it, and every
// log line is in the file before WriteLog returns: the line's arrival, watched every millisecond, marks the
// moment (the log's own time stamps carry whole seconds only). Each run's command line carries its own
// "/bench=<n>" (a switch no command reads), so runs cannot be confused.

#include "bench/win/BenchRig.h"

#include <optional>

namespace {

using namespace bench;

constexpr char kBench[] = "ForwardLatency";

struct ForwardTimes {
    double parsedMs = -1;
    double exitedMs = -1;
};

// One later instance: milliseconds from its start to the first instance's log line, and to its own exit.
std::optional<ForwardTimes> ForwardOnce(int run) {
    const std::wstring commandLine = Quoted(DesklingExe()) + L" /weather /bench=" + std::to_wstring(run);
    const int bytes = ::WideCharToMultiByte(936, 0, commandLine.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string logged(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    ::WideCharToMultiByte(936, 0, commandLine.c_str(), -1, logged.data(), bytes, nullptr, nullptr);
    const std::string line = "MSG_COPYDATA_CMD_LINE " + logged + "\r\n";
    CLogTail tail;
    CChildProcess later;
    ForwardTimes times;
    const auto start = Clock::now();
    if (!later.Start(commandLine)) {
        return std::nullopt;
    }
    while (times.parsedMs < 0 || times.exitedMs < 0) {
        if (times.parsedMs < 0 && tail.Holds(line)) {
            times.parsedMs = MillisecondsSince(start);
        }
        // The wait is also the pause between looks at the log.
        if (times.exitedMs < 0 && later.WaitForExit(1)) {
            times.exitedMs = MillisecondsSince(start);
        } else if (times.exitedMs >= 0) {
            ::Sleep(1);
        }
        if (Clock::now() - start > 10s) {
            return std::nullopt;
        }
    }
    return times;
}

std::optional<double> TrivialConsoleProgramMs() {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, ARRAYSIZE(system));
    CChildProcess trivial;
    const auto start = Clock::now();
    if (!trivial.Start(Quoted(std::wstring(system) + L"\\cmd.exe") + L" /c exit 0") || !trivial.WaitForExit(10000)) {
        return std::nullopt;
    }
    return MillisecondsSince(start);
}

} // namespace

DESKLING_BENCH(ForwardLatency) {
    CBenchRig rig(kBench);
    CRunningInstance first;
    if (!rig.Start()) {
        return;
    }
    if (!first.Start()) {
        rig.Note("deskling.exe did not start");
        return;
    }
    // The first start of a program under Wine pays for reading it from disk; it is not counted.
    ForwardOnce(-1);
    std::vector<double> parsed, exited, trivial;
    for (int run = 0; run < 20; ++run) {
        const std::optional<ForwardTimes> times = ForwardOnce(run);
        const std::optional<double> floor = TrivialConsoleProgramMs();
        if (!times || !floor) {
            rig.Note("run " + std::to_string(run) + " did not complete");
            return;
        }
        parsed.push_back(times->parsedMs);
        exited.push_back(times->exitedMs);
        trivial.push_back(*floor);
    }
    BenchFigure(kBench, "later instance start -> first instance parsed, median of 20", Median(parsed), "ms");
    BenchFigure(kBench, "  fastest", *std::min_element(parsed.begin(), parsed.end()), "ms");
    BenchFigure(kBench, "  slowest", *std::max_element(parsed.begin(), parsed.end()), "ms");
    BenchFigure(kBench, "later instance start -> its exit, median", Median(exited), "ms");
    BenchFigure(kBench, "trivial console program (cmd /c exit) start -> exit, median", Median(trivial), "ms");
}
