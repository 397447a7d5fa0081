// The calendar and weather widgets' cost, each figure next to a bare Wine GUI process (one idle 387x475 layered
// window, nothing else) measured in the same run:
// - latency: "/calendar" or "/weather" reaching a running instance (its "MSG_COPYDATA_CMD_LINE" log line) to the
//   first frame that carries the month ("calendar first frame") or the service's weather ("weather first frame
//   with data"); the bare process times its own window creation to its first pushed frame;
// - CPU seconds per minute and wake-ups per second while both widgets are shown and idle, both processes over the
//   same interval;
// - private memory with both widgets open.
// deskling.exe runs from a copy of the runnable tree whose services are the sample-data service tools/bench
// starts (DESKLING_BENCH_SERVICE, its base address); without one the weather has no data and is not measured.
// Wine runs each Windows process as one Unix process, whose figures the Windows calls for other processes
// leave at zero: CPU and memory are read from /proc, which drive Z: reaches.
// The benchmark program doubles as the bare process: started with kBareSwitch it shows its window, writes
// its latency to the given file and idles until it is ended.

#include "bench/win/BenchRig.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

namespace {

using namespace bench;

constexpr char kCalendarBench[] = "CalendarWidget";
constexpr char kWeatherBench[] = "WeatherWidget";
constexpr wchar_t kBareSwitch[] = L"--bare-layered-window ";
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
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), 387, 475, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    CBitmapHandle bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bits) {
        std::fill_n(static_cast<uint32_t*>(bits), 387 * 475, 0x80402010u); // half-transparent, as a widget is
    }
    CSelectObject select(memory.Get(), bitmap.Get());
    POINT dest{100, 100}, origin{0, 0};
    SIZE size{387, 475};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ::UpdateLayeredWindow(hwnd, screen.Get(), &dest, &size, memory.Get(), &origin, 0, &blend, ULW_ALPHA);
    std::ofstream(std::filesystem::path(reportFile)) << MillisecondsSince(start);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&msg);
    }
    ::ExitProcess(0);
}

// Runs before main when this program was started as the bare process.
[[maybe_unused]] const bool g_bareChecked = [] {
    const std::wstring commandLine = ::GetCommandLineW();
    const size_t at = commandLine.find(kBareSwitch);
    if (at != std::wstring::npos) {
        RunBareWindow(commandLine.substr(at + std::size(kBareSwitch) - 1));
    }
    return true;
}();

// User plus system time: the 12th and 13th fields after the parenthesised name, in ticks of 1/100 s.
double CpuSeconds(const std::wstring& folder) {
    const std::string stat = ReadUnixFile(folder + L"\\stat");
    std::istringstream fields(stat.substr(std::min(stat.size(), stat.rfind(')') + 1)));
    std::string field;
    double ticks = 0;
    for (int i = 1; i <= 13 && fields >> field; ++i) {
        ticks += i >= 12 ? std::atof(field.c_str()) : 0;
    }
    return ticks / 100.0;
}

// Wake-ups so far: the voluntary context switches of all the process's threads, each a sleep that ended.
double WakeUps(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    CFindHandle find(::FindFirstFileW((folder + L"\\task\\*").c_str(), &entry));
    double total = 0;
    for (bool more = static_cast<bool>(find); more; more = ::FindNextFileW(find.Get(), &entry)) {
        std::istringstream lines(ReadUnixFile(folder + L"\\task\\" + entry.cFileName + L"\\status"));
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) {
                total += std::atof(line.c_str() + line.find(':') + 1);
            }
        }
    }
    return total;
}

// Memory no other process shares: the private clean and dirty pages.
double PrivateMegabytes(const std::wstring& folder) {
    std::istringstream lines(ReadUnixFile(folder + L"\\smaps_rollup"));
    double kilobytes = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Private_Clean:", 0) == 0 || line.rfind("Private_Dirty:", 0) == 0) {
            kilobytes += std::atof(line.c_str() + line.find(':') + 1);
        }
    }
    return kilobytes / 1024.0;
}

// Forwards the switch to the running instance; milliseconds from its arrival to the log line of the first full
// frame.
std::optional<double> WidgetLatency(const std::wstring& exe, const wchar_t* widgetSwitch, const char* frameLine) {
    CLogTail tail;
    CChildProcess later;
    if (!later.Start(Quoted(exe) + L" " + widgetSwitch)) {
        return std::nullopt;
    }
    std::optional<Clock::time_point> arrived;
    for (const auto deadline = Clock::now() + 15s; Clock::now() < deadline; ::Sleep(1)) {
        if (!arrived && tail.Holds("MSG_COPYDATA_CMD_LINE")) {
            arrived = Clock::now();
        }
        if (arrived && tail.Holds(frameLine)) {
            return MillisecondsSince(*arrived);
        }
    }
    return std::nullopt;
}

// This program's path.
std::wstring SelfPath() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

// A path's characters as they stand in a Unix command line; ours are plain ASCII.
std::string Narrow(const std::wstring& path) {
    std::string narrow;
    for (wchar_t c : path) {
        narrow.push_back(static_cast<char>(c));
    }
    return narrow;
}

// Starts the bare process; its creation-to-first-frame milliseconds, or a negative value.
double StartBare(CChildProcess& bare) {
    const std::wstring report = MakeTempFolder(L"bench-bare") + L"\\latency.txt";
    double latencyMs = -1;
    if (bare.Start(Quoted(SelfPath()) + L" " + kBareSwitch + report)) {
        // The file may show before its figure does.
        WaitUntil([&] { return static_cast<bool>(std::ifstream(std::filesystem::path(report)) >> latencyMs); }, 10s);
    }
    DeleteTree(FolderOf(report));
    return latencyMs;
}

// The runnable tree with the sample-data service as every host, in a folder removed with it.
class CServiceTree {
public:
    CServiceTree() {
        const char* service = std::getenv("DESKLING_BENCH_SERVICE");
        m_folder = service ? MakeTempFolder(L"bench-tree") : std::wstring();
        m_exe = m_folder.empty() ? std::wstring() : CopyRunnableTree(m_folder, ServicesIni(service));
    }
    ~CServiceTree() {
        if (!m_folder.empty()) {
            DeleteTree(m_folder);
        }
    }
    CServiceTree(const CServiceTree&) = delete;
    CServiceTree& operator=(const CServiceTree&) = delete;

    // The copied deskling.exe; empty without a service or when the copy failed.
    const std::wstring& Exe() const { return m_exe; }

private:
    std::wstring m_folder;
    std::wstring m_exe;
};

// Median latencies of five runs, each forwarding `widgetSwitch` to an instance started with `openSwitch`, and of
// five bare windows; false, with a note, when a run did not complete.
bool MeasureLatency(const CBenchRig& rig, const char* bench, const std::wstring& exe, const wchar_t* openSwitch,
                    const wchar_t* widgetSwitch, const char* frameLine, const char* what) {
    std::vector<double> latencies, bareLatencies;
    for (int run = 0; run < kLatencyRuns; ++run) {
        std::optional<double> latency;
        // One retry: the instance of the run before may still be ending, and a new one then hands its
        // command line over and quits.
        for (int attempt = 0; attempt < 2 && !latency; ++attempt) {
            CRunningInstance instance;
            latency = instance.Start(exe, openSwitch) ? WidgetLatency(exe, widgetSwitch, frameLine) : std::nullopt;
        }
        CChildProcess bare;
        const double bareLatency = StartBare(bare);
        if (!latency || bareLatency < 0) {
            return rig.Note(std::string(bench) + ": run " + std::to_string(run) + " did not complete");
        }
        latencies.push_back(*latency);
        bareLatencies.push_back(bareLatency);
    }
    BenchFigure(bench, what, Median(latencies), "ms");
    BenchFigure(bench, "  bare layered window: creation -> first frame, median", Median(bareLatencies), "ms");
    return true;
}

} // namespace

DESKLING_BENCH(CalendarWidget) {
    CBenchRig rig(kCalendarBench);
    CServiceTree tree;
    const std::wstring exe = tree.Exe().empty() ? DesklingExe() : tree.Exe();
    if (!rig.Start() || !MeasureLatency(rig, kCalendarBench, exe, L"/weather", L"/calendar", "calendar first frame",
                                        "\"/calendar\" arrived -> first frame with the month, median of 5")) {
        return;
    }
    if (tree.Exe().empty()) {
        rig.Note("no sample-data service given (DESKLING_BENCH_SERVICE): the weather is not measured");
    } else {
        MeasureLatency(rig, kWeatherBench, exe, L"/calendar", L"/weather", "weather first frame with data",
                       "\"/weather\" arrived -> first frame with the service's data, median of 5");
    }

    // Idle cost and memory: the weather and the calendar shown and left alone, beside the bare window, over one
    // interval.
    CRunningInstance instance;
    CChildProcess bare;
    if (!instance.Start(exe, L"/weather") || !WidgetLatency(exe, L"/calendar", "calendar first frame") ||
        StartBare(bare) < 0) {
        rig.Note("the idle measurement could not start");
        return;
    }
    // By their own paths: other programs on the machine may run a deskling.exe or a benchmark of their own.
    const std::wstring desklingUnix = UnixProcessFolder(Narrow(exe).c_str(), "/weather");
    const std::wstring bareUnix = UnixProcessFolder(Narrow(SelfPath()).c_str(), "--bare-layered-window");
    if (desklingUnix.empty() || bareUnix.empty()) {
        rig.Note("the Unix processes were not found under /proc");
        return;
    }
    // Start-up work (fonts, skin pictures, the holiday and weather requests) is over after a few seconds.
    ::Sleep(3000);
    const double desklingBefore = CpuSeconds(desklingUnix), bareBefore = CpuSeconds(bareUnix);
    const double desklingWoke = WakeUps(desklingUnix), bareWoke = WakeUps(bareUnix);
    ::Sleep(kIdleSeconds * 1000);
    const double perMinute = 60.0 / kIdleSeconds;
    BenchFigure(kCalendarBench, "CPU while shown with the weather and idle",
                (CpuSeconds(desklingUnix) - desklingBefore) * perMinute, "s/min");
    BenchFigure(kCalendarBench, "  bare layered window", (CpuSeconds(bareUnix) - bareBefore) * perMinute, "s/min");
    BenchFigure(kCalendarBench, "wake-ups while shown with the weather and idle",
                (WakeUps(desklingUnix) - desklingWoke) / kIdleSeconds, "/s");
    BenchFigure(kCalendarBench, "  bare layered window", (WakeUps(bareUnix) - bareWoke) / kIdleSeconds, "/s");
    BenchFigure(kCalendarBench, "private memory with the calendar and the weather open", PrivateMegabytes(desklingUnix),
                "MiB");
    BenchFigure(kCalendarBench, "  bare layered window", PrivateMegabytes(bareUnix), "MiB");
}
