// The calendar widget as a user meets it: where it opens and how it sits among other windows (the display
// changing under it and the desktop shown), what the month looks like on screen, a new day, dragging it, the
// transparency slider and the close button.
// deskling.exe runs from a copy of the runnable tree whose services point at the sample-data service.

#include "e2e/ServiceTreeE2eTest.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace e2e {
namespace {

// Colours the cells paint, as the screen shows them.
constexpr COLORREF kSelectedFill = RGB(0xF3, 0x70, 0x60);
constexpr COLORREF kRestBadge = RGB(0x68, 0xBB, 0x1E);
constexpr COLORREF kWorkBadge = RGB(0xF5, 0xA2, 0x2C);

class CalendarE2eTest : public CServiceTreeE2eTest {
protected:
    void SetUp() override {
        CServiceTreeE2eTest::SetUp();
        SetToday("2026-10-08");
    }

    void TearDown() override {
        CServiceTreeE2eTest::TearDown();
        ::DeleteFileW(ClockFile().c_str());
    }

    // The day every process of the run sees from now on, through the clock file that the test's
    // environment names to the library faking the Unix clock (tests/CMakeLists.txt).
    static std::wstring ClockFile() {
        const char* unixPath = std::getenv("FAKETIME_TIMESTAMP_FILE");
        return unixPath ? L"Z:" + std::wstring(unixPath, unixPath + std::strlen(unixPath)) : std::wstring();
    }
    void SetToday(const std::string& date) {
        ASSERT_FALSE(ClockFile().empty()) << "the test runs without a fake clock";
        ASSERT_TRUE(WriteTextFile(ClockFile(), "@" + date + " 10:00:00\n"));
    }

    // The pixel at (dx, dy) of grid cell i (row-major) on the screen.
    static COLORREF CellPixel(HWND calendar, int i, int dx, int dy) {
        const RECT window = WindowRect(calendar);
        return ScreenPixel(window.left + 8 + 53 * (i % 7) + dx, window.top + 125 + 57 * (i / 7) + dy);
    }
};

// 8 October 2026: the month begins on a Thursday (three September days lead), the national holiday's days
// off are 1-7 October and Saturday the 10th is a make-up working day, as the service's holiday file says.
TEST_F(CalendarE2eTest, OpensAtTheDefaultPlaceUnderOtherWindowsShowingTodayAndTheServicesBadges) {
    HWND calendar = OpenWidget(L"/calendar", kCalendarWndClass);
    ASSERT_NE(calendar, nullptr);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(calendar, GWL_EXSTYLE);
    EXPECT_TRUE((exStyle & WS_EX_LAYERED) && (exStyle & WS_EX_TOOLWINDOW));
    EXPECT_EQ(::GetWindow(calendar, GW_OWNER), m_main);
    const RECT rect = WindowRect(calendar);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}),
              std::vector<LONG>({work.right - 417, work.top, 387, 475}));
    EXPECT_EQ(SavedSetting("calendar", "XPos"), -999) << "showing saves no place";

    XDoTool(L"mousemove 0 0");
    // The holiday file is fetched on the first show, since nothing says when it last was. A badge sits in
    // its cell's top right corner, 15 pixels square; work beats rest.
    auto badge = [&](int cell) { return CellPixel(calendar, cell, 38, 1); };
    auto selected = [&](int cell) { return Near(CellPixel(calendar, cell, 2, 53), kSelectedFill); };
    ASSERT_TRUE(WaitUntil([&] { return Near(badge(12), kWorkBadge); }, 10s, 100ms)) << std::hex << badge(12);
    for (int rest = 3; rest <= 9; ++rest) {
        EXPECT_TRUE(Near(badge(rest), kRestBadge)) << "cell " << rest << " " << std::hex << badge(rest);
    }
    for (int plain : {0, 10, 11, 13, 20}) {
        EXPECT_FALSE(Near(badge(plain), kRestBadge) || Near(badge(plain), kWorkBadge)) << plain;
    }
    EXPECT_TRUE(selected(10));
    EXPECT_FALSE(selected(11)) << "only today is selected";
    // 1 November 2026 is a Sunday: six October days lead, so the 2nd is cell 7.
    SetToday("2026-11-02");
    EXPECT_TRUE(WaitUntil([&] { return selected(7) && !selected(10); }, 5s, 200ms));

    // Raised by someone else, it goes back under every visible window but its owner, or right below the
    // wallpaper application's bar while that is shown.
    auto raise = [&] { ::SetWindowPos(calendar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); };
    raise();
    std::this_thread::sleep_for(200ms);
    for (HWND below = ::GetWindow(calendar, GW_HWNDNEXT); below; below = ::GetWindow(below, GW_HWNDNEXT)) {
        EXPECT_TRUE(!::IsWindowVisible(below) || below == m_main) << "a visible window below the calendar";
    }
    PassToCompanion(L"/switchbar");
    HWND bar = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (bar = VisibleBar(kSwitchBar)) != nullptr; }, 3s));
    raise();
    EXPECT_TRUE(WaitUntil([&] { return ::GetWindow(bar, GW_HWNDNEXT) == calendar; }, 2s));
}

// Left off every monitor, as a lost monitor or a smaller resolution leaves it, the calendar returns to its first
// place when the display changes.
TEST_F(CalendarE2eTest, ADisplayChangeBringsItBackFromOffTheScreen) {
    HWND calendar = OpenWidget(L"/calendar", kCalendarWndClass);
    ASSERT_NE(calendar, nullptr);
    const RECT home = WindowRect(calendar);
    ::SetWindowPos(calendar, nullptr, home.right + 1000, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(calendar, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
    EXPECT_EQ(WindowRect(calendar).left, home.left);
    EXPECT_EQ(WindowRect(calendar).top, home.top);
}

// Showing the desktop raises the shell's desktop window over every other; the calendar follows its owner up and
// stays above it, with the icon view under Progman and under a WorkerW.
TEST_F(CalendarE2eTest, ShowingTheDesktopLeavesItAboveTheDesktopWindow) {
    StartCompanion();
    for (const std::wstring holder : {L"Progman", L"WorkerW"}) {
        SCOPED_TRACE(holder);
        const std::wstring ready = m_scratch + L"\\desktop-" + holder;
        const CChildProcess& desktop = Start(Quoted(FolderOf(BinDir()) + L"\\tests\\helpers\\StandInDesktop.exe") +
                                             L" " + ready + (holder == L"WorkerW" ? L" --workerw" : L"") + L" 回收站");
        ASSERT_TRUE(WaitUntil([&] { return PathExists(ready); }, 9s));
        HWND desktopWindow = ::FindWindowW(holder.c_str(), nullptr);
        HWND calendar = OpenWidget(L"/calendar", kCalendarWndClass, false);
        EXPECT_TRUE(WaitUntil([&] { return ::GetWindow(m_main, GW_OWNER) == desktopWindow; }, 3s)) << ReadLog();
        ::SetWindowPos(desktopWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        auto above = [&] {
            HWND below = calendar;
            while (below && below != desktopWindow) {
                below = ::GetWindow(below, GW_HWNDNEXT);
            }
            return below == desktopWindow;
        };
        // deskling restacks the calendar as it handles the move, after the raising call returned.
        EXPECT_TRUE(WaitUntil(above, 2s)) << "the desktop window covers the calendar";
        ASSERT_TRUE(ExitDeskling());
        ::PostMessageW(::FindWindowW(L"Progman", nullptr), WM_CLOSE, 0, 0);
        EXPECT_TRUE(desktop.WaitForExit(5000));
    }
}

// A drag that would take the corner out of the work area (less 10 pixels) leaves the window where it is;
// the next start opens it at the saved place, where one click on the close button, before any other
// press, closes it.
TEST_F(CalendarE2eTest, DraggingMovesItSavesThePlaceTheNextStartOpensItThereAndOneClickClosesIt) {
    HWND calendar = OpenWidget(L"/calendar", kCalendarWndClass);
    ASSERT_NE(calendar, nullptr);
    const RECT before = WindowRect(calendar);
    // Grab the header, away from every control that takes the mouse.
    const int x = before.left + 200, y = before.top + 70;
    ASSERT_TRUE(XDoTool(At(x, y) + L" mousedown 1" + At(x - 30, y + 20) + At(x - 100, y + 60) + At(x - 150, y + 90) +
                        L" mouseup 1"));
    const POINT moved{before.left - 150, before.top + 90};
    EXPECT_TRUE(WaitUntil([&] { return WindowRect(calendar).left == moved.x; }, 3s)) << WindowRect(calendar).left;
    EXPECT_EQ(WindowRect(calendar).top, moved.y);
    EXPECT_TRUE(WaitUntil(
        [&] { return SavedSetting("calendar", "XPos") == moved.x && SavedSetting("calendar", "YPos") == moved.y; }, 2s))
        << SavedSetting("calendar", "XPos") << "," << SavedSetting("calendar", "YPos");

    ASSERT_TRUE(XDoTool(At(moved.x + 200, moved.y + 70) + L" mousedown 1" + At(moved.x + 200, 65) + L" mouseup 1"));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(WindowRect(calendar).top, moved.y);

    ASSERT_TRUE(ExitDeskling());
    calendar = OpenWidget(L"/calendar", kCalendarWndClass, false);
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(WindowRect(calendar).left, moved.x);
    EXPECT_EQ(WindowRect(calendar).top, moved.y);

    DWORD value = 1, size = sizeof(value);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\VexaWallPaper", L"calendar", REG_DWORD, &value, size),
              ERROR_SUCCESS);
    ASSERT_TRUE(XDoTool(At(moved.x + 350, moved.y + 15) + L" click 1"));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(calendar); }, 3s));
    EXPECT_TRUE(SwitchedOff(L"calendar"));
    EXPECT_TRUE(Reported("calendar_close")) << m_service.Get(L"/bizhi/list");
}

// A press shows the title strip behind the slider (its thumb at the default 40 %).
TEST_F(CalendarE2eTest, TheSliderSwitchesBackgroundBandsSavingAlpha) {
    HWND calendar = OpenWidget(L"/calendar", kCalendarWndClass);
    ASSERT_NE(calendar, nullptr);
    EXPECT_TRUE(Reported("calendar_show")) << m_service.Get(L"/bizhi/list");
    const RECT window = WindowRect(calendar);
    ASSERT_TRUE(XDoTool(At(window.left + 200, window.top + 70) + L" click 1"));
    std::this_thread::sleep_for(300ms);
    // Each drag lands in the next band (50, 70 and 80 %); each band looks different from every other.
    auto band = [](int percent) { return percent >= 80 ? 3 : percent >= 70 ? 2 : percent >= 50 ? 1 : 0; };
    auto look = [&] {
        std::this_thread::sleep_for(700ms);
        return ScreenPixel(window.left + 3, window.top + 200);
    };
    std::vector<COLORREF> looks{look()};
    const int thumbY = window.top + 16;
    int thumbX = window.left + 151 + 40 * 60 / 100;
    for (int percent : {55, 75, 100}) {
        const int target = window.left + 151 + percent * 60 / 100;
        ASSERT_TRUE(XDoTool(At(thumbX, thumbY) + L" mousedown 1" + At(thumbX + 2, thumbY) + At(target, thumbY) +
                            L" mouseup 1"));
        thumbX = target;
        EXPECT_TRUE(WaitUntil([&] { return band(SavedSetting("calendar", "alpha")) == band(percent); }, 2s))
            << percent << " % saved as " << SavedSetting("calendar", "alpha");
        looks.push_back(look());
        for (size_t i = 0; i + 1 < looks.size(); ++i) {
            EXPECT_NE(looks[i], looks.back()) << percent;
        }
    }
}

} // namespace
} // namespace e2e
