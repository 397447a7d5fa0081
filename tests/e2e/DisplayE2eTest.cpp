// The calendar when the screen around it changes: places off every monitor, a new resolution or work area, a
// monitor of another scale, and the desktop shown over every window.

#include "e2e/ServiceTreeE2eTest.h"

#include <filesystem>
#include <fstream>

namespace e2e {
namespace {

constexpr UINT kDpiChanged = 0x02E0;

class DisplayE2eTest : public CServiceTreeE2eTest {
protected:
    // Starts the wallpaper application unless it runs, and deskling with the calendar; the shown calendar window.
    HWND OpenCalendar() {
        if (FindTopLevelWindows(kControlWndClass).empty()) {
            StartCompanion();
        }
        CChildProcess& deskling = StartDeskling(L"/calendar", m_exe);
        EXPECT_TRUE(WaitForCalendar(deskling.Id())) << ReadLog();
        m_main = WaitForMainWindow(deskling);
        return WaitForWindow(kCalendarWndClass, deskling.Id(), 0ms);
    }

    static POINT DefaultPlace() {
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return POINT{work.right - 417, work.top};
    }

    static bool IsAt(HWND window, POINT at) {
        const RECT rect = WindowRect(window);
        return rect.left == at.x && rect.top == at.y;
    }

    HWND m_main = nullptr;
};

// A place saved off the screen opens at the default place. Later, with the calendar moved off every monitor
// (as a lost monitor or a smaller resolution leaves it), a display or work-area change brings it back, and one
// still on the screen stays; other setting changes move nothing.
TEST_F(DisplayE2eTest, PlacesOffEveryMonitorFallBackToTheDefaultPlace) {
    ASSERT_TRUE(EnsureFolder(DataFolder()));
    ASSERT_TRUE(WriteTextFile(DataFolder() + L"\\deskling.ini", "[calendar]\r\nXPos=3000\r\nYPos=100\r\n"));
    HWND calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_TRUE(IsAt(calendar, DefaultPlace())) << WindowRect(calendar).left << "," << WindowRect(calendar).top;
    const struct {
        POINT from;
        UINT message;
        WPARAM wParam;
        bool back;
    } rows[] = {{{2000, 100}, WM_DISPLAYCHANGE, 32, true},
                {{300, 900}, WM_SETTINGCHANGE, SPI_SETWORKAREA, true},
                {{1275, 100}, WM_DISPLAYCHANGE, 32, true},
                {{300, 900}, WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, false},
                {{100, 200}, WM_DISPLAYCHANGE, 32, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.from.x << "," << row.from.y << " message " << row.message);
        ::SetWindowPos(calendar, nullptr, row.from.x, row.from.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageW(calendar, row.message, row.wParam, row.message == WM_DISPLAYCHANGE ? MAKELPARAM(1280, 800) : 0);
        EXPECT_TRUE(IsAt(calendar, row.back ? DefaultPlace() : row.from))
            << WindowRect(calendar).left << "," << WindowRect(calendar).top;
    }
    EXPECT_EQ(SavedSetting("calendar", "XPos"), 3000) << "the saved place waits for its monitor";
}

// On a monitor at 200 % the window doubles and a click lands on the control drawn under the pointer: the close
// button, 350 and 15 pixels in at 96 DPI.
TEST_F(DisplayE2eTest, AtTwiceTheScaleTheWindowDoublesAndClicksReachTheScaledControls) {
    HWND calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    ::SetWindowPos(calendar, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(calendar, kDpiChanged, MAKEWPARAM(192, 192), 0);
    const RECT rect = WindowRect(calendar);
    EXPECT_EQ(rect.right - rect.left, 2 * 387);
    EXPECT_EQ(rect.bottom - rect.top, 2 * 475);
    ASSERT_TRUE(XDoTool(At(2 * 350, 2 * 15) + L" click 1"));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(calendar); }, 3s));
}

// Showing the desktop raises the shell's desktop window over every other; the calendar stays above it, with the
// icon view under Progman and with it under a WorkerW.
TEST_F(DisplayE2eTest, ShowingTheDesktopLeavesTheWidgetAboveIt) {
    const struct {
        const wchar_t* layout;
        const wchar_t* holder;
    } rows[] = {{L"", L"Progman"}, {L"--workerw ", L"WorkerW"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.holder);
        const std::wstring ready = m_scratch + L"\\desktop-" + row.holder;
        const CChildProcess& desktop = Start(Quoted(FolderOf(BinDir()) + L"\\tests\\helpers\\StandInDesktop.exe") +
                                             L" " + ready + L" " + row.layout + L"回收站");
        ASSERT_TRUE(WaitUntil([&] { return PathExists(ready); }, 9s));
        HWND holder = ::FindWindowW(row.holder, nullptr);
        HWND calendar = OpenCalendar();
        ASSERT_NE(calendar, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return ::GetWindow(m_main, GW_OWNER) == holder; }, 3s)) << ReadLog();
        ::SetWindowPos(holder, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        bool holderBelow = false;
        for (HWND below = ::GetWindow(calendar, GW_HWNDNEXT); below; below = ::GetWindow(below, GW_HWNDNEXT)) {
            holderBelow = holderBelow || below == holder;
        }
        EXPECT_TRUE(holderBelow) << "the desktop window covers the calendar";
        EXPECT_TRUE(StartDeskling(L"/exit", m_exe).WaitForExit(5000));
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(m_main); }, 5s));
        ::PostMessageW(::FindWindowW(L"Progman", nullptr), WM_CLOSE, 0, 0);
        EXPECT_TRUE(desktop.WaitForExit(5000));
    }
}

} // namespace
} // namespace e2e
