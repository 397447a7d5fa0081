// The hardware monitor as a user meets it without the hardware tool: the offer, the installation from the
// sample-data service into the test prefix, and the gauges following the tool's sensor file; and the ways an
// installation fails. deskling.exe runs from a copy of the runnable tree whose services point at the service.

#include "e2e/ServiceTreeE2eTest.h"

#include <shlobj.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr wchar_t kMonitorClass[] = L"VexawpTempMonitorClass";
constexpr wchar_t kMsgBoxClass[] = L"DesklingMsgBox";
constexpr WPARAM kMsgBoxOk = 1002;
constexpr WPARAM kMsgBoxCancel = 1003;
constexpr WPARAM kDownloadButton = 2;
// Band colours of the needles, as the screen shows them.
constexpr COLORREF kFirstBand = RGB(0, 156, 255);
constexpr COLORREF kMiddleBand = RGB(184, 147, 1);
// The middle of the download button's blue.
constexpr COLORREF kButtonBlue = RGB(76, 171, 250);

// Where the silent setup installs by default.
std::wstring ToolFolder() {
    wchar_t programs[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programs);
    return std::wstring(programs) + L"\\Brako";
}

// The hardware tool's setup record "Setup Path" in the 32-bit registry view; empty when absent.
std::wstring BrakoSetupPath() {
    CRegKey key;
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof(path);
    ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Brako", 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, key.Receive());
    return ::RegGetValueW(key.Get(), nullptr, L"Setup Path", RRF_RT_REG_SZ, nullptr, path, &size) == ERROR_SUCCESS
               ? path
               : L"";
}

bool Visible(const wchar_t* className, DWORD processId) {
    return ::IsWindowVisible(WaitForWindow(className, processId, 0ms));
}

// The installation steps in the order the log reports them, each step once per run of equal steps.
std::vector<int> LoggedSteps() {
    const std::wstring log = ReadLog();
    const std::wregex step(L"\\[brako\\] step (\\d+),");
    std::vector<int> steps;
    for (std::wsregex_iterator it(log.begin(), log.end(), step), end; it != end; ++it) {
        const int value = std::stoi((*it)[1].str());
        if (steps.empty() || steps.back() != value) {
            steps.push_back(value);
        }
    }
    return steps;
}

class MonitorE2eTest : public CServiceTreeE2eTest {
protected:
    void SetUp() override {
        CServiceTreeE2eTest::SetUp();
        RemoveTool();
    }

    void TearDown() override {
        CServiceTreeE2eTest::TearDown();
        RemoveTool();
    }

    static void RemoveTool() { EXPECT_TRUE(RemoveHardwareTool(ToolFolder())); }

    // Starts the wallpaper application and deskling with the switches, the tool hosted at that path of the
    // sample-data service.
    DWORD StartMonitor(const std::wstring& switches, const std::string& toolPath = "") {
        const std::wstring exe = CopyTreeForService({{"tool_download", ServiceUrl(toolPath)}});
        EXPECT_FALSE(exe.empty());
        StartCompanion();
        return StartDeskling(switches, exe).Id();
    }

    // A gauge: its centre and the needle's inner and outer radius, in window coordinates.
    struct Dial {
        int x, y, r1, r2;
    };
    static constexpr Dial kLarge{89, 89, 31, 85};
    static constexpr Dial kSmall{190, 135, 17, 50};

    // True once most of the needle of a gauge at the angle (degrees, y downwards) shows the colour on the screen:
    // the value texts may cover a part of it.
    static bool NeedleShows(HWND monitor, const Dial& dial, double angle, COLORREF colour) {
        return WaitUntil(
            [&] {
                RECT window{};
                ::GetWindowRect(monitor, &window);
                const double radians = angle * 3.14159265 / 180;
                int points = 0, matching = 0;
                for (int r = dial.r1 + 4; r <= dial.r2 - 4; r += 4, ++points) {
                    const int x = window.left + dial.x + static_cast<int>(std::lround(r * std::cos(radians)));
                    const int y = window.top + dial.y + static_cast<int>(std::lround(r * std::sin(radians)));
                    matching += Near(ScreenPixel(x, y), colour, 40) ? 1 : 0;
                }
                return matching * 4 >= points * 3;
            },
            8s, 200ms);
    }

    // True once the screen shows the offer panel: the left end of the download button, and no large dial where
    // the data panel has its ring.
    static bool OfferPanelShows(HWND monitor) {
        return WaitUntil(
            [&] {
                const RECT window = WindowRect(monitor);
                int button = 0;
                for (int x = 56; x <= 64; ++x) {
                    button += Near(ScreenPixel(window.left + x, window.top + 129), kButtonBlue, 30) ? 1 : 0;
                }
                return button >= 7 && !Near(ScreenPixel(window.left + 58, window.top + 88), kFirstBand, 40);
            },
            5s, 100ms);
    }
};

} // namespace

// "/tempmonitor" without the tool asks first; "确定" installs it from the service with every step in order,
// and the gauges follow the sensor file: CPU on the large gauge, the disk on the small one, each needle in the
// colour of its band.
TEST_F(MonitorE2eTest, AcceptedOfferInstallsTheToolAndTheGaugesFollowItsSensors) {
    ASSERT_TRUE(EnsureFolder(ToolFolder()));
    ASSERT_TRUE(WriteTextFile(ToolFolder() + L"\\sensors.txt", "cpu 47\ndisk 38\n"));
    const DWORD deskling = StartMonitor(L"/tempmonitor");
    ASSERT_TRUE(WaitUntil([&] { return Visible(kMsgBoxClass, deskling); }, 10s)) << ReadLog();
    EXPECT_FALSE(Visible(kMonitorClass, deskling)) << "the widget waits for the answer";

    ::PostMessageW(WaitForWindow(kMsgBoxClass, deskling, 0ms), WM_COMMAND, kMsgBoxOk, 0);
    ASSERT_TRUE(WaitForLog(L"[brako] step 9, 100%", 30s)) << ReadLog();
    EXPECT_EQ(LoggedSteps(), (std::vector<int>{2, 3, 5, 6, 7, 9})) << ReadLog();
    // The download's own 50 % is 45 % of the whole installation.
    EXPECT_GE(CountInLog(L"[brako] step 3, 45%"), 1u);
    EXPECT_EQ(BrakoSetupPath(), ToolFolder() + L"\\");
    EXPECT_TRUE(PathExists(ToolFolder() + L"\\DataMgr.dll"));
    EXPECT_TRUE(Reported("brako_sucess"));

    HWND monitor = WaitForWindow(kMonitorClass, deskling, 0ms);
    ASSERT_TRUE(::IsWindowVisible(monitor));
    // 47 of 80 on the large gauge (90° to 315°), 38 of 55 on the small one (258° to 405°).
    EXPECT_TRUE(NeedleShows(monitor, kLarge, 90 + 225 * 47 / 80.0, kFirstBand)) << ReadLog();
    EXPECT_TRUE(NeedleShows(monitor, kSmall, 258 + 147 * 38 / 55.0, kFirstBand));

    // Live values: the middle bands, 85 between 80 and 90 (315° to 405°), 60 between 55 and 65 (405° to 465°).
    ASSERT_TRUE(WriteTextFile(ToolFolder() + L"\\sensors.txt", "cpu 85\ndisk 60\n"));
    EXPECT_TRUE(NeedleShows(monitor, kLarge, 360, kMiddleBand));
    EXPECT_TRUE(NeedleShows(monitor, kSmall, 435, kMiddleBand));
}
// "/tempmonitor /tempauto" offers the tool inside the widget and asks nothing. Its "下载" against each way the
// service can fail the setup ends in step 4 with its statistics event, and the offer stays to be tried again; while
// a body that never ends comes in, "/exit" ends the process within 2 s.
TEST_F(MonitorE2eTest, AutoStartOffersInsideTheWidgetAndEveryFailedDownloadIsStep4) {
    StartCompanion();
    CChildProcess& deskling = StartDeskling(L"/tempmonitor /tempauto", m_exe);
    ASSERT_TRUE(WaitUntil([&] { return Visible(kMonitorClass, deskling.Id()); }, 10s)) << ReadLog();
    EXPECT_FALSE(Visible(kMsgBoxClass, deskling.Id()));
    EXPECT_EQ(CountInLog(L"offer shown"), 0u);

    HWND monitor = WaitForWindow(kMonitorClass, deskling.Id(), 0ms);
    EXPECT_TRUE(OfferPanelShows(monitor))
        << std::hex << ScreenPixel(WindowRect(monitor).left + 60, WindowRect(monitor).top + 129);
    const auto answerNext = [&](const std::wstring& fault) {
        m_service.Get(L"/control/answer?path=/brako/brakosetup.exe&count=1&variant=" + fault);
        ::PostMessageW(monitor, WM_COMMAND, kDownloadButton, 0);
    };
    size_t failed = 0;
    for (const wchar_t* fault : {L"404", L"500", L"reset", L"redirect-loop", L"huge"}) {
        answerNext(fault);
        EXPECT_TRUE(WaitUntil([&] { return CountInLog(L"[brako] step 4, 90%") == failed + 1; }, 20s)) << fault << "\n"
                                                                                                      << ReadLog();
        failed = CountInLog(L"[brako] step 4, 90%");
    }
    EXPECT_EQ(failed, 5u);
    EXPECT_TRUE(Reported("brako_downfail"));
    EXPECT_TRUE(OfferPanelShows(monitor));

    answerNext(L"endless");
    ASSERT_TRUE(WaitUntil([] { return CountInLog(L"[brako] step 3, 0%") == 6; }, 5s)) << ReadLog();
    EXPECT_TRUE(StartDeskling(L"/exit", m_exe).WaitForExit(5000));
    EXPECT_TRUE(deskling.WaitForExit(2000)) << "still running 2 s after \"/exit\" was handed over";
}

// Our signed setup changed after signing is refused (step 8 at 100 %), and a second start while the download
// runs is turned away; a setup that cannot install ends in step 8 with "brako_fail".
TEST_F(MonitorE2eTest, TamperedOrFailingSetupsEndInStep8) {
    const DWORD deskling = StartMonitor(L"/tempmonitor /tempauto", "/test/tampered?delay=1500&to=");
    ASSERT_TRUE(WaitUntil([&] { return Visible(kMonitorClass, deskling); }, 10s)) << ReadLog();
    HWND monitor = WaitForWindow(kMonitorClass, deskling, 0ms);
    ::PostMessageW(monitor, WM_COMMAND, kDownloadButton, 0);
    ASSERT_TRUE(WaitForLog(L"[brako] step 2, 0%", 5s));
    ::PostMessageW(monitor, WM_COMMAND, kDownloadButton, 0);
    EXPECT_TRUE(WaitForLog(L"正在修复中，返回", 5s)) << ReadLog();
    ASSERT_TRUE(WaitForLog(L"[brako] step 8, 100%", 10s)) << ReadLog();
    EXPECT_EQ(LoggedSteps(), (std::vector<int>{2, 3, 5, 6, 8}));
    EXPECT_EQ(CountInLog(L"没有Vexa签名，文件已损坏"), 1u);
}

TEST_F(MonitorE2eTest, ASetupThatCannotWriteTheToolIsStep8) {
    // The setup cannot write its library over a folder of that name.
    ASSERT_TRUE(EnsureFolder(ToolFolder() + L"\\DataMgr.dll"));
    const DWORD deskling = StartMonitor(L"/tempmonitor");
    ASSERT_TRUE(WaitUntil([&] { return Visible(kMsgBoxClass, deskling); }, 10s)) << ReadLog();
    ::PostMessageW(WaitForWindow(kMsgBoxClass, deskling, 0ms), WM_COMMAND, kMsgBoxOk, 0);
    ASSERT_TRUE(WaitForLog(L"[brako] step 8, 100%", 30s)) << ReadLog();
    EXPECT_EQ(LoggedSteps(), (std::vector<int>{2, 3, 5, 6, 7, 8}));
    EXPECT_TRUE(Reported("brako_fail"));
    EXPECT_EQ(BrakoSetupPath(), L"");
}

// Each "/tempmonitor" without the tool asks again; "取消" while the widget is hidden switches the monitor off
// for the wallpaper application.
TEST_F(MonitorE2eTest, EachStartAsksAgainAndCancelSwitchesTheMonitorOff) {
    CRegKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\VexaWallPaper", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key.Receive(), nullptr),
              ERROR_SUCCESS);
    const DWORD deskling = StartMonitor(L"/tempmonitor");
    ASSERT_TRUE(WaitUntil([&] { return Visible(kMsgBoxClass, deskling); }, 10s)) << ReadLog();
    StartDeskling(L"/tempmonitor", m_scratch + L"\\tree\\deskling.exe");
    EXPECT_TRUE(WaitUntil([] { return CountInLog(L"[tempmonitor] offer shown:1") == 2; }, 10s)) << ReadLog();
    EXPECT_FALSE(Visible(kMonitorClass, deskling));

    ::PostMessageW(WaitForWindow(kMsgBoxClass, deskling, 0ms), WM_COMMAND, kMsgBoxCancel, 0);
    EXPECT_TRUE(WaitUntil([] { return SwitchedOff(L"tempmonitor"); }, 5s));
    EXPECT_FALSE(Visible(kMsgBoxClass, deskling));
    EXPECT_FALSE(Visible(kMonitorClass, deskling));
}

} // namespace e2e
