// The calendar widget's cost, each figure next to a bare Wine GUI process (one idle 387x475 layered
// window, nothing else) measured in the same run:
// - latency: "/calendar" reaching a running instance (its "MSG_COPYDATA_CMD_LINE" log line) to the first
//   frame that carries the month ("calendar first frame"); the bare process times its own window
//   creation to its first pushed frame;
// - CPU seconds per minute while shown and idle, both processes over the same interval;
// - private memory with the calendar open.
// CPU and memory are those of the Unix processes Wine runs the programs in.
// The benchmark program doubles as the bare process: started with kBareSwitch it shows its window, writes
// its latency to the given file and idles until it is ended.

#include "bench/pure/BenchRegistry.h"
#include "e2e/ChildProcess.h"
#include "e2e/E2eHarness.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace e2e;

constexpr char kBench[] = "CalendarWidget";
constexpr wchar_t kBareSwitch[] = L"--bare-layered-window";
constexpr int kLatencyRuns = 5;
constexpr DWORD kIdleSeconds = 20;

// The bare process: a layered window with one pushed frame, then an idle message loop.
[[noreturn]] void RunBareWindow(const std::wstring& reportFile) {
    const auto start = Clock::now();
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DesklingBenchBareLayered";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 100, 100, 387, 475,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    CWindowDC screen(nullptr);
    CMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 387, 475, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    CBitmapHandle bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bits) {
        std::fill_n(static_cast<uint32_t*>(bits), 387 * 475, 0x80402010u);
    }
    {
        CSelectObject select(memory.Get(), bitmap.Get());
        POINT dest{100, 100}, origin{0, 0};
        SIZE size{387, 475};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        ::UpdateLayeredWindow(hwnd, screen.Get(), &dest, &size, memory.Get(), &origin, 0, &blend, ULW_ALPHA);
    }
    std::ofstream(std::filesystem::path(reportFile)) << MillisecondsSince(start);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&msg);
    }
    ::ExitProcess(0);
}

// Runs before main when this program was started as the bare process.
[[maybe_unused]] const bool g_bareChecked = [] {
    std::wstring commandLine = ::GetCommandLineW();
    size_t at = commandLine.find(kBareSwitch);
    if (at != std::wstring::npos) {
        RunBareWindow(commandLine.substr(at + std::wstring(kBareSwitch).size() + 1));
    }
    return true;
}();

// Occurrences of text in the log; the log of a benchmark run stays small, so reading it whole every
// millisecond costs little beside what is timed.
size_t LogCount(const std::string& text) {
    const std::string log = ReadLogBytes();
    size_t count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + text.size())) {
        ++count;
    }
    return count;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0.0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Wine runs each Windows process as one Unix process, whose figures the Windows calls for other processes
// leave at zero; they are read from /proc, which drive Z: reaches.
std::string ReadUnixFile(const std::wstring& path) {
    CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (file && ::ReadFile(file.Get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) {
        text.append(chunk, got);
    }
    return text;
}

// The Unix process whose command line holds every one of the parts; empty when there is none.
std::wstring UnixProcessFolder(const std::vector<std::string>& parts) {
    WIN32_FIND_DATAW entry;
    CFindHandle find(::FindFirstFileW(L"Z:\\proc\\*", &entry));
    if (!find) {
        return {};
    }
    do {
        if (entry.cFileName[0] < L'0' || entry.cFileName[0] > L'9') {
            continue;
        }
        const std::wstring folder = std::wstring(L"Z:\\proc\\") + entry.cFileName;
        const std::string commandLine = ReadUnixFile(folder + L"\\cmdline");
        if (std::all_of(parts.begin(), parts.end(),
                        [&](const std::string& part) { return commandLine.find(part) != std::string::npos; })) {
            return folder;
        }
    } while (::FindNextFileW(find.Get(), &entry));
    return {};
}

// User plus system time: the 12th and 13th fields after the parenthesised name, in ticks of 1/100 s.
double CpuSeconds(const std::wstring& folder) {
    const std::string stat = ReadUnixFile(folder + L"\\stat");
    const size_t name = stat.rfind(')');
    if (name == std::string::npos) {
        return 0;
    }
    std::istringstream fields(stat.substr(name + 1));
    std::string field;
    double ticks = 0;
    for (int i = 1; i <= 13 && fields >> field; ++i) {
        if (i >= 12) {
            ticks += std::atof(field.c_str());
        }
    }
    return ticks / 100.0;
}

// Memory no other process shares: the private clean and dirty pages.
double PrivateMegabytes(const std::wstring& folder) {
    std::istringstream lines(ReadUnixFile(folder + L"\\smaps_rollup"));
    std::string line;
    double kilobytes = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("Private_Clean:", 0) == 0 || line.rfind("Private_Dirty:", 0) == 0) {
            kilobytes += std::atof(line.c_str() + line.find(':') + 1);
        }
    }
    return kilobytes / 1024.0;
}

std::string Narrow(const std::wstring& text) {
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

// The wallpaper application's stand-in, for as long as the benchmark runs.
class CCompanion {
public:
    bool Start() {
        if (!FindTopLevelWindows(L"VexaWallPaperCtrlCls").empty()) {
            return true;
        }
        return m_process.Start(Quoted(CompanionExe())) && WaitForWindow(L"VexaWallPaperCtrlCls", m_process.Id(), 10s);
    }
    ~CCompanion() {
        if (m_process.IsRunning()) {
            for (HWND control : FindTopLevelWindows(L"VexaWallPaperCtrlCls", m_process.Id())) {
                ::PostMessageW(control, WM_CLOSE, 0, 0);
            }
            m_process.WaitForExit(5000);
        }
    }

private:
    CChildProcess m_process;
};

// One deskling.exe running with a placeholder widget, ended with "/exit" when the object goes.
class CRunningInstance {
public:
    bool Start() {
        return m_process.Start(Quoted(DesklingExe()) + L" /weather") &&
               WaitForWindow(L"VexawpMainWndClass", m_process.Id(), 10s);
    }
    ~CRunningInstance() {
        if (m_process.IsRunning()) {
            CChildProcess exit;
            exit.Start(Quoted(DesklingExe()) + L" /exit");
            exit.WaitForExit(5000);
            m_process.WaitForExit(5000);
        }
    }

private:
    CChildProcess m_process;
};

// Forwards "/calendar" to the running instance; milliseconds from its arrival to the first full frame.
std::optional<double> CalendarLatency() {
    const size_t forwarded = LogCount("MSG_COPYDATA_CMD_LINE"), frames = LogCount("calendar first frame");
    CChildProcess later;
    if (!later.Start(Quoted(DesklingExe()) + L" /calendar")) {
        return std::nullopt;
    }
    std::optional<Clock::time_point> arrived;
    const auto deadline = Clock::now() + 15s;
    while (Clock::now() < deadline) {
        if (!arrived && LogCount("MSG_COPYDATA_CMD_LINE") > forwarded) {
            arrived = Clock::now();
        }
        if (arrived && LogCount("calendar first frame") > frames) {
            return MillisecondsSince(*arrived);
        }
        ::Sleep(1);
    }
    return std::nullopt;
}

struct BareProcess {
    CChildProcess process;
    std::wstring report;
    double latencyMs = -1;
};

bool StartBare(BareProcess& bare) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    bare.report = MakeTempFolder(L"bench-bare") + L"\\latency.txt";
    if (!bare.process.Start(Quoted(self) + L" " + kBareSwitch + L" " + bare.report)) {
        return false;
    }
    WaitUntil([&] { return PathExists(bare.report); }, 10s);
    std::ifstream(std::filesystem::path(bare.report)) >> bare.latencyMs;
    DeleteTree(FolderOf(bare.report));
    return bare.latencyMs >= 0;
}

} // namespace

DESKLING_BENCH(CalendarWidget) {
    if (!ProcessIdsNamed(L"deskling.exe").empty()) {
        BenchNote(kBench, "a deskling.exe already runs; not measured");
        return;
    }
    const bool createdSwitch = !PathExists(LogSwitchPath());
    if (!EnableLog()) {
        BenchNote(kBench, "cannot switch the log on");
        return;
    }
    CCompanion companion;
    if (!companion.Start()) {
        BenchNote(kBench, "the companion did not start");
        return;
    }

    std::vector<double> latencies, bareLatencies;
    for (int run = 0; run < kLatencyRuns; ++run) {
        BareProcess bare;
        std::optional<double> latency;
        // One retry: the instance of the run before may still be ending, and a new one then hands its
        // command line over and quits.
        for (int attempt = 0; attempt < 2 && !latency; ++attempt) {
            CRunningInstance instance;
            if (instance.Start()) {
                latency = CalendarLatency();
            }
        }
        if (!latency || !StartBare(bare)) {
            BenchNote(kBench, ("run " + std::to_string(run) + " did not complete").c_str());
            return;
        }
        latencies.push_back(*latency);
        bareLatencies.push_back(bare.latencyMs);
    }
    BenchFigure(kBench, "\"/calendar\" arrived -> first frame with the month, median of 5", Median(latencies), "ms");
    BenchFigure(kBench, "  bare layered window: creation -> first frame, median", Median(bareLatencies), "ms");

    // Idle cost and memory: the calendar shown and left alone, beside the bare window, over one interval.
    CRunningInstance instance;
    BareProcess bare;
    if (!instance.Start() || !CalendarLatency() || !StartBare(bare)) {
        BenchNote(kBench, "the idle measurement could not start");
        return;
    }
    const std::wstring desklingUnix = UnixProcessFolder({Narrow(DesklingExe()), "/weather"});
    const std::wstring bareUnix = UnixProcessFolder({Narrow(bare.report)});
    if (desklingUnix.empty() || bareUnix.empty()) {
        BenchNote(kBench, "the Unix processes were not found under /proc");
        return;
    }
    // Start-up work (fonts, skin pictures, the holiday request) is over after a few seconds.
    ::Sleep(3000);
    const double desklingBefore = CpuSeconds(desklingUnix), bareBefore = CpuSeconds(bareUnix);
    ::Sleep(kIdleSeconds * 1000);
    const double perMinute = 60.0 / kIdleSeconds;
    BenchFigure(kBench, "CPU while shown and idle", (CpuSeconds(desklingUnix) - desklingBefore) * perMinute, "s/min");
    BenchFigure(kBench, "  bare layered window", (CpuSeconds(bareUnix) - bareBefore) * perMinute, "s/min");
    BenchFigure(kBench, "private memory with the calendar open", PrivateMegabytes(desklingUnix), "MiB");
    BenchFigure(kBench, "  bare layered window", PrivateMegabytes(bareUnix), "MiB");
    if (createdSwitch) {
        ::DeleteFileW(LogSwitchPath().c_str());
    }
}
