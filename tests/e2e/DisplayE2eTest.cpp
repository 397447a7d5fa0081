// The calendar when the screen around it changes: places off every monitor, a new resolution or work area, a
// monitor of another scale, and the desktop shown over every window.

#include "e2e/ServiceTreeE2eTest.h"

namespace e2e {
namespace {

class DisplayE2eTest : public CServiceTreeE2eTest {
protected:
    // Starts the wallpaper application unless it runs, and deskling with the calendar; the shown calendar.
    HWND OpenCalendar() {
        if (FindTopLevelWindows(kControlWndClass).empty()) {
            StartCompanion();
        }
        CChildProcess& deskling = StartDeskling(L"/calendar", m_exe);
        EXPECT_TRUE(WaitForCalendar(deskling.Id())) << ReadLog();
        m_main = WaitForMainWindow(deskling);
        return WaitForWindow(kCalendarWndClass, deskling.Id(), 0ms);
    }

    HWND m_main = nullptr;
};

std::vector<LONG> Corner(HWND window) {
    const RECT rect = WindowRect(window);
    return {rect.left, rect.top};
}

// A place saved off the screen opens at the default place. Moved off every monitor later (as a lost monitor or a
// smaller resolution leaves it), a display or work-area change brings the calendar back; one still on the screen,
// or another setting changed, stays. The saved place is kept for its monitor's return.
TEST_F(DisplayE2eTest, PlacesOffEveryMonitorFallBackToTheDefaultPlace) {
    ASSERT_TRUE(EnsureFolder(DataFolder()));
    ASSERT_TRUE(WriteTextFile(DataFolder() + L"\\deskling.ini", "[calendar]\r\nXPos=3000\r\nYPos=100\r\n"));
    HWND calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const std::vector<LONG> home{work.right - 417, work.top};
    EXPECT_EQ(Corner(calendar), home);
    const struct {
        LONG x, y;
        UINT message;
        WPARAM wParam;
        bool back;
    } rows[] = {{2000, 100, WM_DISPLAYCHANGE, 32, true},
                {300, 900, WM_SETTINGCHANGE, SPI_SETWORKAREA, true},
                {1275, 100, WM_DISPLAYCHANGE, 32, true},
                {100, 200, WM_DISPLAYCHANGE, 32, false},
                {300, 900, WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.x << "," << row.y << " message " << row.message);
        ::SetWindowPos(calendar, nullptr, row.x, row.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(calendar, row.message, row.wParam, row.message == WM_DISPLAYCHANGE ? MAKELPARAM(1280, 800) : 0);
        const std::vector<LONG> want = row.back ? home : std::vector<LONG>{row.x, row.y};
        EXPECT_EQ(Corner(calendar), want);
    }
    EXPECT_EQ(SavedSetting("calendar", "XPos"), 3000);
}

// On a monitor at 200 % the window doubles and a click lands on the control drawn under the pointer: the close
// button, 350 and 15 pixels in at 96 DPI.
TEST_F(DisplayE2eTest, AtTwiceTheScaleTheWindowDoublesAndClicksReachTheScaledControls) {
    HWND calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    ::SetWindowPos(calendar, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(calendar, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192), 0);
    EXPECT_EQ(Corner(calendar), std::vector<LONG>({0, 0}));
    EXPECT_EQ(WindowRect(calendar).right, 2 * 387);
    EXPECT_EQ(WindowRect(calendar).bottom, 2 * 475);
    ASSERT_TRUE(XDoTool(At(2 * 350, 2 * 15) + L" click 1"));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(calendar); }, 3s));
}

// Showing the desktop raises the shell's desktop window over every other; the calendar stays above it, with the
// icon view under Progman and with it under a WorkerW.
TEST_F(DisplayE2eTest, ShowingTheDesktopLeavesTheWidgetAboveIt) {
    for (const std::wstring holder : {L"Progman", L"WorkerW"}) {
        SCOPED_TRACE(holder);
        const std::wstring ready = m_scratch + L"\\desktop-" + holder;
        const CChildProcess& desktop = Start(Quoted(FolderOf(BinDir()) + L"\\tests\\helpers\\StandInDesktop.exe") +
                                             L" " + ready + (holder == L"WorkerW" ? L" --workerw" : L"") + L" 回收站");
        ASSERT_TRUE(WaitUntil([&] { return PathExists(ready); }, 9s));
        HWND desktopWindow = ::FindWindowW(holder.c_str(), nullptr);
        HWND calendar = OpenCalendar();
        EXPECT_TRUE(WaitUntil([&] { return ::GetWindow(m_main, GW_OWNER) == desktopWindow; }, 3s)) << ReadLog();
        ::SetWindowPos(desktopWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // The calendar follows its owner up as deskling handles the move, after the call returned.
        auto above = [&] {
            HWND below = calendar;
            while (below && below != desktopWindow) {
                below = ::GetWindow(below, GW_HWNDNEXT);
            }
            return below == desktopWindow;
        };
        EXPECT_TRUE(WaitUntil(above, 2s)) << "the desktop window covers the calendar";
        EXPECT_TRUE(StartDeskling(L"/exit", m_exe).WaitForExit(5000));
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(m_main); }, 5s));
        ::PostMessageW(::FindWindowW(L"Progman", nullptr), WM_CLOSE, 0, 0);
        EXPECT_TRUE(desktop.WaitForExit(5000));
    }
}

} // namespace
} // namespace e2e
