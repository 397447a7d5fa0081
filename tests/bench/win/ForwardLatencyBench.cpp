// Forwarding latency: from the start of a later deskling.exe to the running instance having parsed the
// command line it forwarded, median of 20 runs, next to the start-to-exit time of a trivial Wine
// console program measured in the same run (the floor that process creation under Wine sets).
//
// How "parsed" is seen: the running instance logs "MSG_COPYDATA_CMD_LINE <text>" as it takes the text up
// to parse it, and every log line is in the file before WriteLog returns. The line's arrival in the file,
// watched every millisecond, marks the moment; the log's own time stamps carry whole seconds only. Each
// run's command line carries its own "/bench=<n>" (a switch no command reads), so runs cannot be confused.

#include "bench/pure/BenchRegistry.h"
#include "e2e/ChildProcess.h"
#include "e2e/E2eHarness.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace e2e;

constexpr char kBench[] = "ForwardLatency";
constexpr int kRuns = 20;
constexpr auto kRunTimeout = 10s;

// What the log gained since the tail was made. The handle stays open, so a look costs a size query and
// a read, not an open: the watch must not slow down the processes it times.
class CLogTail {
public:
    CLogTail()
        : m_file(::CreateFileW(LogPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        LARGE_INTEGER end = {};
        if (m_file && ::SetFilePointerEx(m_file.Get(), {}, &end, FILE_END)) {
            m_offset = end.QuadPart;
        }
    }

    bool Holds(const std::string& text) {
        LARGE_INTEGER size = {};
        if (m_file && ::GetFileSizeEx(m_file.Get(), &size) && size.QuadPart > m_offset) {
            std::string chunk(static_cast<size_t>(size.QuadPart - m_offset), '\0');
            DWORD got = 0;
            if (::ReadFile(m_file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
                m_seen.append(chunk, 0, got);
                m_offset += got;
            }
        }
        return m_seen.find(text) != std::string::npos;
    }

private:
    CFileHandle m_file;
    LONGLONG m_offset = 0;
    std::string m_seen;
};

std::string CodePage936(const std::wstring& text) {
    int bytes =
        ::WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n == 0 ? 0.0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct ForwardTimes {
    double parsedMs = 0;
    double exitedMs = 0;
};

// One later instance: milliseconds from its start to the first instance's log line, and to its own exit.
std::optional<ForwardTimes> ForwardOnce(int run) {
    std::wstring commandLine = Quoted(DesklingExe()) + L" /weather /bench=" + std::to_wstring(run);
    std::string line = "MSG_COPYDATA_CMD_LINE " + CodePage936(commandLine) + "\r\n";
    CLogTail tail;
    CChildProcess second;
    ForwardTimes times;
    bool parsed = false, exited = false;
    auto start = Clock::now();
    if (!second.Start(commandLine)) {
        return std::nullopt;
    }
    while (!parsed || !exited) {
        if (!parsed && tail.Holds(line)) {
            parsed = true;
            times.parsedMs = MillisecondsSince(start);
        }
        // The wait is also the pause between looks at the log.
        if (!exited && second.WaitForExit(1)) {
            exited = true;
            times.exitedMs = MillisecondsSince(start);
        } else if (exited) {
            ::Sleep(1);
        }
        if (Clock::now() - start > kRunTimeout) {
            return std::nullopt;
        }
    }
    return times;
}

std::optional<double> TrivialConsoleProgramMs() {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, ARRAYSIZE(system));
    CChildProcess trivial;
    auto start = Clock::now();
    if (!trivial.Start(Quoted(std::wstring(system) + L"\\cmd.exe") + L" /c exit 0") || !trivial.WaitForExit(10000)) {
        return std::nullopt;
    }
    return MillisecondsSince(start);
}

// The wallpaper application's stand-in and a first instance with a widget open, for as long as it lives.
class CForwardRig {
public:
    bool Start() {
        if (!ProcessIdsNamed(L"deskling.exe").empty()) {
            BenchNote(kBench, "a deskling.exe already runs; not measured");
            return false;
        }
        m_createdSwitch = !PathExists(LogSwitchPath());
        if (!EnableLog()) {
            BenchNote(kBench, "cannot switch the log on");
            return false;
        }
        if (FindTopLevelWindows(L"VexaWallPaperCtrlCls").empty()) {
            if (!m_companion.Start(Quoted(CompanionExe())) ||
                !WaitForWindow(L"VexaWallPaperCtrlCls", m_companion.Id(), 10s)) {
                BenchNote(kBench, "the companion did not start");
                return false;
            }
        }
        if (!m_first.Start(Quoted(DesklingExe()) + L" /weather") ||
            !WaitForWindow(L"VexawpMainWndClass", m_first.Id(), 10s)) {
            BenchNote(kBench, "deskling.exe did not start");
            return false;
        }
        return true;
    }

    ~CForwardRig() {
        if (m_first.IsRunning()) {
            CChildProcess exit;
            exit.Start(Quoted(DesklingExe()) + L" /exit");
            exit.WaitForExit(5000);
            m_first.WaitForExit(5000);
        }
        if (m_companion.IsRunning()) {
            for (HWND control : FindTopLevelWindows(L"VexaWallPaperCtrlCls", m_companion.Id())) {
                ::PostMessageW(control, WM_CLOSE, 0, 0);
            }
            m_companion.WaitForExit(5000);
        }
        if (m_createdSwitch) {
            ::DeleteFileW(LogSwitchPath().c_str());
        }
    }

private:
    CChildProcess m_companion;
    CChildProcess m_first;
    bool m_createdSwitch = false;
};

} // namespace

DESKLING_BENCH(ForwardLatency) {
    CForwardRig rig;
    if (!rig.Start()) {
        return;
    }
    // The first start of a program under Wine pays for reading it from disk; it is not counted.
    ForwardOnce(-1);
    std::vector<double> parsed, exited, trivial;
    for (int run = 0; run < kRuns; ++run) {
        std::optional<ForwardTimes> times = ForwardOnce(run);
        std::optional<double> floor = TrivialConsoleProgramMs();
        if (!times || !floor) {
            BenchNote(kBench, ("run " + std::to_string(run) + " did not complete").c_str());
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
