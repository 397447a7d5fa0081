// The endurance run behind tools/soak: deskling.exe from a copy of the runnable tree whose services name the local
// sample-data service, the hardware tool installed, all four widgets open, and their activity forced far faster than
// their timers: refreshes and rotations (the windows' own WM_TIMER ids posted to them), network rate messages,
// changing sensor readings, drags with the real mouse, hides and shows through forwarded command lines, and the
// city dialog opened and confirmed. The process's objects, threads and memory are read, settled, at minute 5 and at
// the end; the exit code is 1 when one grew more than its tolerance between the two.
//
// Usage: deskling_soak.exe [--minutes N]   (N at least 6; 30 by default)

#include "bench/win/BenchRig.h"
#include "bench/win/InstalledTool.h"
#include "bench/win/ProcessFigures.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr int kDefaultMinutes = 30;
constexpr int kFirstReadingMinute = 5;
constexpr DWORD kRoundMs = 1000;
constexpr UINT WM_NETWORK_RATES = 0x2932;
const std::wstring kMark = L"/soak=run";

// What is read, and how much each may grow from minute 5 to the end. Over a 30-minute run the objects, handles and
// threads came back to the very same counts once the activity had rested, and memory ended 2.7 MiB lower; the
// tolerances leave room for a cache entry or a worker still ending, never for a leak of one object per refresh.
struct Figure {
    const char* name;
    double tolerance;
};
constexpr std::array<Figure, 5> kFigures = {{
    {"GDI objects", 2},
    {"user objects", 2},
    {"handles", 5},
    {"threads", 0},
    {"private memory, MiB", 2},
}};
using Reading = std::array<double, kFigures.size()>;

struct Widget {
    const wchar_t* windowClass;
    const wchar_t* open;
    const wchar_t* close;
    POINT grab; // a point of the window that drags it
};
const std::array<Widget, 4> kWidgets = {{
    {L"VexawpCalendarWndClass", L"/calendar", L"/closecalendar", {200, 70}},
    {L"VexawpWeatherWndClass", L"/weather", L"/closeweather", {240, 150}},
    {L"VexawpNewsWndClass", L"/news", L"/closenews", {230, 25}},
    // The monitor has no closing switch for a monitor the user opened: its close button closes it.
    {L"VexawpTempMonitorClass", L"/tempmonitor", nullptr, {120, 100}},
}};
constexpr char kPlaces[] = "[calendar]\r\nXPos=20\r\nYPos=20\r\n[weather]\r\nXPos=440\r\nYPos=20\r\n"
                           "[news]\r\nXPos=900\r\nYPos=20\r\n[tempmonitor]\r\nXPos=900\r\nYPos=380\r\n";
enum WidgetIndex { kCalendar, kWeather, kNews, kMonitor };
// The windows' timers and commands.
constexpr WPARAM kCalendarDayTimer = 1, kWeatherRefreshTimer = 1, kNewsRotateTimer = 1, kNewsRefreshTimer = 2;
constexpr WPARAM kWeatherCityButton = 2, kMonitorCloseButton = 1;
constexpr POINT kCityDialogOk{231, 161};

// Windows a process owns, the message-only ones and every child included: what Wine counts of its user objects.
int WindowsOf(DWORD processId) {
    struct Count {
        DWORD processId;
        int windows = 0;
        void Add(HWND hwnd) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner != processId) {
                return;
            }
            ++windows;
            ::EnumChildWindows(
                hwnd,
                [](HWND, LPARAM self) {
                    ++reinterpret_cast<Count*>(self)->windows;
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(this));
        }
    } count{processId};
    ::EnumWindows(
        [](HWND hwnd, LPARAM self) {
            reinterpret_cast<Count*>(self)->Add(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    for (HWND hwnd = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); hwnd;
         hwnd = ::FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr)) {
        count.Add(hwnd);
    }
    return count.windows;
}

int UserObjects(DWORD processId) {
    CKernelHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    const DWORD counted = process ? ::GetGuiResources(process.Get(), GR_USEROBJECTS) : 0;
    return counted ? static_cast<int>(counted) : WindowsOf(processId);
}

// GetProcessHandleCount answers 0 for another process under Wine (and its process list gives the table's size, not
// the handles in it): the system's handle list is counted instead, entry by owner.
int Handles(DWORD processId) {
    CKernelHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    DWORD handles = 0;
    if (process && ::GetProcessHandleCount(process.Get(), &handles) && handles) {
        return static_cast<int>(handles);
    }
    struct HandleEntry {
        ULONG owner;
        BYTE type, flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    constexpr ULONG kSystemHandleInformation = 16;
    using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QuerySystem>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<BYTE> list(4 << 20);
    ULONG needed = 0;
    if (!query || query(kSystemHandleInformation, list.data(), static_cast<ULONG>(list.size()), &needed) != 0) {
        return -1;
    }
    ULONG count = 0;
    std::memcpy(&count, list.data(), sizeof(count));
    const auto* entries = reinterpret_cast<const HandleEntry*>(list.data() + sizeof(ULONG_PTR));
    int owned = 0;
    for (ULONG i = 0; i < count && (i + 1) * sizeof(HandleEntry) + sizeof(ULONG_PTR) <= list.size(); ++i) {
        owned += entries[i].owner == processId ? 1 : 0;
    }
    return owned;
}

int Threads(const std::wstring& unixFolder) {
    const std::string status = ReadUnixFile(unixFolder + L"\\status");
    const size_t at = status.find("Threads:");
    return at == std::string::npos ? -1 : std::atoi(status.c_str() + at + 8);
}

// Read after the activity has rested: downloads and picture decoding run on threads whose memory and handles come
// and go for a moment after each refresh, so memory is the least of several readings.
Reading Read(DWORD processId, const std::wstring& unixFolder) {
    ::Sleep(5000);
    double privateMb = PrivateMegabytes(unixFolder);
    for (int reading = 0; reading < 4; ++reading) {
        ::Sleep(500);
        privateMb = std::min(privateMb, PrivateMegabytes(unixFolder));
    }
    return Reading{static_cast<double>(GdiObjects(processId)), static_cast<double>(UserObjects(processId)),
                   static_cast<double>(Handles(processId)), static_cast<double>(Threads(unixFolder)), privateMb};
}

void MouseTo(POINT at) {
    ::SetCursorPos(at.x, at.y);
    ::Sleep(40);
}

void MouseButton(DWORD flag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    ::SendInput(1, &input, sizeof(input));
    ::Sleep(40);
}

void Click(POINT at) {
    MouseTo(at);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
}

// The activity, one step a round; counts what it did, to show it happened.
class CActivity {
public:
    CActivity(const std::wstring& exe, DWORD processId, CInstalledTool& tool)
        : m_exe(exe), m_processId(processId), m_tool(tool) {}

    void Round(int round) {
        Post(kCalendar, WM_TIMER, kCalendarDayTimer, 0);
        Post(kNews, WM_TIMER, kNewsRotateTimer, 0);
        Post(kMonitor, WM_NETWORK_RATES, round % 7 * 300000, round % 5 * 900000);
        m_tool.SetSensors(45 + round % 4, 36 + round % 3);
        if (round % 2 == 0) {
            Post(kWeather, WM_TIMER, kWeatherRefreshTimer, 0);
            Post(kNews, WM_TIMER, kNewsRefreshTimer, 0);
            ++refreshes;
        }
        if (round % 5 == 0) {
            Drag(kWidgets[round / 5 % kWidgets.size()], round / 5 / kWidgets.size() % 2 ? 40 : -40);
        }
        if (round % 7 == 0) {
            HideAndShow(round / 7 % kWidgets.size());
        }
        if (round % 11 == 0) {
            OpenCityDialog();
        }
    }

    int refreshes = 0, drags = 0, hidesAndShows = 0, dialogs = 0;

private:
    HWND Window(size_t widget) const { return WaitForWindow(kWidgets[widget].windowClass, m_processId, 2s); }

    void Post(size_t widget, UINT msg, WPARAM wParam, LPARAM lParam) const {
        ::PostMessageW(Window(widget), msg, wParam, lParam);
    }

    void Drag(const Widget& widget, int by) {
        HWND hwnd = WaitForWindow(widget.windowClass, m_processId, 2s);
        RECT before{};
        if (!::IsWindowVisible(hwnd) || !::GetWindowRect(hwnd, &before)) {
            return;
        }
        const POINT grab{before.left + widget.grab.x, before.top + widget.grab.y};
        MouseTo(grab);
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        MouseTo(POINT{grab.x + by / 2, grab.y + by / 2});
        MouseTo(POINT{grab.x + by, grab.y + by});
        MouseButton(MOUSEEVENTF_LEFTUP);
        MouseTo(POINT{0, 0});
        RECT after{};
        drags += ::GetWindowRect(hwnd, &after) && after.left != before.left ? 1 : 0;
    }

    bool Forward(const wchar_t* switches) const {
        CChildProcess later;
        return later.Start(Quoted(m_exe) + L" " + switches) && later.WaitForExit(10000);
    }

    void HideAndShow(size_t widget) {
        if (kWidgets[widget].close) {
            Forward(kWidgets[widget].close);
        } else {
            Post(widget, WM_COMMAND, kMonitorCloseButton, 0);
        }
        const bool hidden = WaitUntil([&] { return !::IsWindowVisible(Window(widget)); }, 3s);
        Forward(kWidgets[widget].open);
        hidesAndShows += hidden && WaitUntil([&] { return ::IsWindowVisible(Window(widget)) != FALSE; }, 5s) ? 1 : 0;
    }

    void OpenCityDialog() {
        Post(kWeather, WM_COMMAND, kWeatherCityButton, 0);
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return ::IsWindowVisible(dialog = WaitForWindow(L"DesklingUIDialog", m_processId, 0ms)); },
                       5s)) {
            return;
        }
        ::Sleep(300);
        RECT window{};
        ::GetWindowRect(dialog, &window);
        Click(POINT{window.left + kCityDialogOk.x, window.top + kCityDialogOk.y});
        MouseTo(POINT{0, 0});
        dialogs += WaitUntil([&] { return !::IsWindowVisible(dialog); }, 3s) ? 1 : 0;
    }

    std::wstring m_exe;
    DWORD m_processId;
    CInstalledTool& m_tool;
};

// Rounds of activity until `until`; the rounds done.
int Drive(CActivity& activity, int round, Clock::time_point until) {
    for (; Clock::now() < until; ++round) {
        const auto start = Clock::now();
        activity.Round(round);
        const double spent = MillisecondsSince(start);
        if (spent < kRoundMs) {
            ::Sleep(static_cast<DWORD>(kRoundMs - spent));
        }
    }
    return round;
}

int Minutes(int argc, wchar_t** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wcscmp(argv[i], L"--minutes") == 0) {
            return std::wcstol(argv[i + 1], nullptr, 10);
        }
    }
    return kDefaultMinutes;
}

// The table, and whether every figure stayed within its tolerance.
bool Report(const Reading& first, const Reading& last, int minutes) {
    const std::string firstColumn = "minute " + std::to_string(kFirstReadingMinute);
    const std::string lastColumn = "minute " + std::to_string(minutes);
    std::printf("%-22s %10s %10s %8s %10s  %s\n", "figure", firstColumn.c_str(), lastColumn.c_str(), "growth",
                "tolerance", "met");
    bool flat = true;
    for (size_t i = 0; i < kFigures.size(); ++i) {
        const double growth = last[i] - first[i];
        const bool met = first[i] >= 0 && last[i] >= 0 && growth <= kFigures[i].tolerance;
        flat = flat && met;
        std::printf("%-22s %10.1f %10.1f %+8.1f %10s  %s\n", kFigures[i].name, first[i], last[i], growth,
                    ("+" + std::to_string(static_cast<int>(kFigures[i].tolerance))).c_str(), met ? "yes" : "NO");
    }
    return flat;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int minutes = Minutes(argc, argv);
    if (minutes <= kFirstReadingMinute) {
        std::fprintf(stderr, "soak: --minutes must be more than %d\n", kFirstReadingMinute);
        return 2;
    }
    CBenchRig rig("Soak");
    CServiceTree tree;
    CInstalledTool tool;
    if (!StartWithTool(rig, tree, tool)) {
        return 2;
    }
    // Apart, so that each drag grabs its own widget and the city dialog opens below the weather.
    if (!EnsureFolder(DataFolder()) || !WriteTextFile(DataFolder() + L"\\deskling.ini", kPlaces)) {
        rig.Note("the settings file could not be written");
        return 2;
    }
    CRunningInstance running(tree.Exe());
    if (!running.Start(kMark + L" /calendar /weather /news /tempmonitor")) {
        rig.Note("deskling.exe did not start");
        return 2;
    }
    const std::wstring unixFolder = UnixProcessFolder("deskling.exe", "/soak=run");
    for (const Widget& widget : kWidgets) {
        if (!WaitForWindow(widget.windowClass, running.Id(), 10s)) {
            rig.Note("a widget did not open");
            return 2;
        }
    }
    if (unixFolder.empty()) {
        rig.Note("the Unix process was not found under /proc");
        return 2;
    }
    const auto start = Clock::now();
    CActivity activity(tree.Exe(), running.Id(), tool);
    int round = Drive(activity, 0, start + std::chrono::minutes(kFirstReadingMinute));
    const Reading first = Read(running.Id(), unixFolder);
    std::printf("soak: minute %d read after %d rounds\n", kFirstReadingMinute, round);
    std::fflush(stdout);
    round = Drive(activity, round, start + std::chrono::minutes(minutes));
    const Reading last = Read(running.Id(), unixFolder);
    std::printf("soak: %d rounds: %d refreshes, %d drags, %d hides and shows, %d city dialogs\n", round,
                activity.refreshes, activity.drags, activity.hidesAndShows, activity.dialogs);
    const bool flat = Report(first, last, minutes);
    std::printf(flat ? "soak: flat within every tolerance\n" : "soak: GROWTH beyond tolerance\n");
    return flat ? 0 : 1;
}
