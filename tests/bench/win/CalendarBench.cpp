// The calendar widget's cost, each figure next to a bare Wine GUI process (one idle 387x475 layered
// window, nothing else) measured in the same run:
// - latency: "/calendar" reaching a running instance (its "MSG_COPYDATA_CMD_LINE" log line) to the first
//   frame that carries the month ("calendar first frame"); the bare process times its own window
//   creation to its first pushed frame;
// - CPU seconds per minute and wake-ups per second while shown and idle, both processes over the same interval;
// - private memory with the calendar open.
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

constexpr char kBench[] = "CalendarWidget";
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

// Forwards "/calendar" to the running instance; milliseconds from its arrival to the first full frame.
std::optional<double> CalendarLatency() {
    CLogTail tail;
    CChildProcess later;
    if (!later.Start(Quoted(DesklingExe()) + L" /calendar")) {
        return std::nullopt;
    }
    std::optional<Clock::time_point> arrived;
    for (const auto deadline = Clock::now() + 15s; Clock::now() < deadline; ::Sleep(1)) {
        if (!arrived && tail.Holds("MSG_COPYDATA_CMD_LINE")) {
            arrived = Clock::now();
        }
        if (arrived && tail.Holds("calendar first frame")) {
            return MillisecondsSince(*arrived);
        }
    }
    return std::nullopt;
}

// Starts the bare process; its creation-to-first-frame milliseconds, or a negative value.
double StartBare(CChildProcess& bare) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring report = MakeTempFolder(L"bench-bare") + L"\\latency.txt";
    double latencyMs = -1;
    if (bare.Start(Quoted(self) + L" " + kBareSwitch + report)) {
        // The file may show before its figure does.
        WaitUntil([&] { return static_cast<bool>(std::ifstream(std::filesystem::path(report)) >> latencyMs); }, 10s);
    }
    DeleteTree(FolderOf(report));
    return latencyMs;
}

} // namespace

DESKLING_BENCH(CalendarWidget) {
    CBenchRig rig(kBench);
    if (!rig.Start()) {
        return;
    }
    std::vector<double> latencies, bareLatencies;
    for (int run = 0; run < kLatencyRuns; ++run) {
        std::optional<double> latency;
        // One retry: the instance of the run before may still be ending, and a new one then hands its
        // command line over and quits.
        for (int attempt = 0; attempt < 2 && !latency; ++attempt) {
            CRunningInstance instance;
            latency = instance.Start() ? CalendarLatency() : std::nullopt;
        }
        CChildProcess bare;
        const double bareLatency = StartBare(bare);
        if (!latency || bareLatency < 0) {
            rig.Note("run " + std::to_string(run) + " did not complete");
            return;
        }
        latencies.push_back(*latency);
        bareLatencies.push_back(bareLatency);
    }
    BenchFigure(kBench, "\"/calendar\" arrived -> first frame with the month, median of 5", Median(latencies), "ms");
    BenchFigure(kBench, "  bare layered window: creation -> first frame, median", Median(bareLatencies), "ms");

    // Idle cost and memory: the calendar shown and left alone, beside the bare window, over one interval.
    CRunningInstance instance;
    CChildProcess bare;
    if (!instance.Start() || !CalendarLatency() || StartBare(bare) < 0) {
        rig.Note("the idle measurement could not start");
        return;
    }
    const std::wstring desklingUnix = UnixProcessFolder("deskling.exe", "/weather");
    const std::wstring bareUnix = UnixProcessFolder("bench-bare", "latency.txt");
    if (desklingUnix.empty() || bareUnix.empty()) {
        rig.Note("the Unix processes were not found under /proc");
        return;
    }
    // Start-up work (fonts, skin pictures, the holiday request) is over after a few seconds.
    ::Sleep(3000);
    const double desklingBefore = CpuSeconds(desklingUnix), bareBefore = CpuSeconds(bareUnix);
    const double desklingWoke = WakeUps(desklingUnix), bareWoke = WakeUps(bareUnix);
    ::Sleep(kIdleSeconds * 1000);
    const double perMinute = 60.0 / kIdleSeconds;
    BenchFigure(kBench, "CPU while shown and idle", (CpuSeconds(desklingUnix) - desklingBefore) * perMinute, "s/min");
    BenchFigure(kBench, "  bare layered window", (CpuSeconds(bareUnix) - bareBefore) * perMinute, "s/min");
    BenchFigure(kBench, "wake-ups while shown and idle", (WakeUps(desklingUnix) - desklingWoke) / kIdleSeconds, "/s");
    BenchFigure(kBench, "  bare layered window", (WakeUps(bareUnix) - bareWoke) / kIdleSeconds, "/s");
    BenchFigure(kBench, "private memory with the calendar open", PrivateMegabytes(desklingUnix), "MiB");
    BenchFigure(kBench, "  bare layered window", PrivateMegabytes(bareUnix), "MiB");
}
