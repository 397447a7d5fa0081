// The calendar widget as a user meets it: where it opens and how it sits among other windows, what the
// month looks like on screen, dragging it, the transparency slider and the close button. deskling.exe
// runs from a copy of the runnable tree whose services point at the sample-data service.

#include "e2e/DesklingE2eTest.h"
#include "unit/net/DemoService.h"

#include <map>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr wchar_t kCalendarClass[] = L"VexawpCalendarWndClass";
constexpr int kWidth = 387;
constexpr int kHeight = 475;

// Colours the cells paint, as the screen shows them (red, green, blue).
constexpr COLORREF kSelectedFill = RGB(0xF3, 0x70, 0x60);
constexpr COLORREF kRestBadge = RGB(0x68, 0xBB, 0x1E);
constexpr COLORREF kWorkBadge = RGB(0xF5, 0xA2, 0x2C);

bool Near(COLORREF a, COLORREF b, int tolerance = 8) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// The whole screen as the X server shows it (layered windows blended over what is below them).
class CScreenShot {
public:
    CScreenShot() {
        m_width = ::GetSystemMetrics(SM_CXSCREEN);
        m_height = ::GetSystemMetrics(SM_CYSCREEN);
        CWindowDC screen(nullptr);
        CMemoryDC memory(::CreateCompatibleDC(screen.Get()));
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), m_width, -m_height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        CBitmapHandle bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap || !memory) {
            return;
        }
        {
            CSelectObject select(memory.Get(), bitmap.Get());
            ::BitBlt(memory.Get(), 0, 0, m_width, m_height, screen.Get(), 0, 0, SRCCOPY | CAPTUREBLT);
        }
        const auto* pixels = static_cast<const uint32_t*>(bits);
        m_pixels.assign(pixels, pixels + static_cast<size_t>(m_width) * m_height);
    }

    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_pixels.empty()) {
            return CLR_INVALID;
        }
        const uint32_t p = m_pixels[static_cast<size_t>(y) * m_width + x];
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
};

RECT WorkArea() {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

RECT WindowRect(HWND hwnd) {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

std::wstring IniPath() {
    return DataFolder() + L"\\deskling.ini";
}

int IniInt(const wchar_t* key) {
    return static_cast<int>(::GetPrivateProfileIntW(L"calendar", key, -999, IniPath().c_str()));
}

void WriteIni(const wchar_t* key, const std::wstring& value) {
    EnsureFolder(DataFolder());
    ::WritePrivateProfileStringW(L"calendar", key, value.c_str(), IniPath().c_str());
}

// Runs xdotool with the arguments and waits for it. Wine cannot wait on a Unix program's handle, so a shell
// runs xdotool and then makes a marker file, which is waited for.
bool XDoTool(const std::wstring& arguments) {
    static int counter = 0;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring marker = std::wstring(temp) + L"deskling-xdotool-" + std::to_wstring(::GetCurrentProcessId()) +
                                L"-" + std::to_wstring(++counter);
    ::DeleteFileW(marker.c_str());
    const std::string unixMarker = WineUnixPath(marker);
    std::wstring commandLine =
        L"sh -c \"xdotool " + arguments + L" && touch " + std::wstring(unixMarker.begin(), unixMarker.end()) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (unixMarker.empty() || !::CreateProcessW(L"Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                                nullptr, &startup, &started)) {
        return false;
    }
    CKernelHandle thread(started.hThread);
    CKernelHandle process(started.hProcess);
    const bool done = WaitUntil([&] { return PathExists(marker); }, 10s);
    ::DeleteFileW(marker.c_str());
    return done;
}

std::wstring At(int x, int y) {
    return L" mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y) + L" sleep 0.1";
}

// Top-left corner of grid cell i (row-major), window coordinates.
POINT Cell(int i) {
    return POINT{8 + 53 * (i % 7), 125 + 57 * (i / 7)};
}

class CalendarE2eTest : public CDesklingE2eTest {
protected:
    void SetUp() override {
        CDesklingE2eTest::SetUp();
        ASSERT_TRUE(m_service.IsRunning());
        m_exe = CopyTreeForService();
        ASSERT_FALSE(m_exe.empty());
        // The widget's day comes from this file, which the started programs find through the environment.
        m_todayFile = TempFolder(L"calendar-today") + L"\\today.txt";
        SetToday("2026-10-08");
        ::SetEnvironmentVariableW(L"DESKLING_CALENDAR_TODAY_FILE", m_todayFile.c_str());
    }

    void TearDown() override {
        CDesklingE2eTest::TearDown();
        ::SetEnvironmentVariableW(L"DESKLING_CALENDAR_TODAY_FILE", nullptr);
    }

    void SetToday(const std::string& date) { ASSERT_TRUE(WriteTextFile(m_todayFile, date)); }

    // The runnable tree copied beside a services.ini that names the sample-data service of this test.
    std::wstring CopyTreeForService() {
        std::wstring tree = TempFolder(L"calendar-tree");
        WIN32_FIND_DATAW entry;
        CFindHandle find(::FindFirstFileW((BinDir() + L"\\*").c_str(), &entry));
        if (!find) {
            return {};
        }
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                ::CopyFileW((BinDir() + L"\\" + entry.cFileName).c_str(), (tree + L"\\" + entry.cFileName).c_str(),
                            FALSE);
            }
        } while (::FindNextFileW(find.Get(), &entry));
        std::string ini = "[hosts]\r\n";
        for (const char* key : {"weather_cdn", "weather_origin", "static_cdn", "wallpaper", "stats", "tool_download"}) {
            ini += std::string(key) + "=http://127.0.0.1:" + std::to_string(m_service.Port()) + "\r\n";
        }
        return WriteTextFile(tree + L"\\services.ini", ini) ? tree + L"\\deskling.exe" : std::wstring();
    }

    // Starts the wallpaper application and deskling with the calendar; the shown calendar window.
    HWND OpenCalendar(const std::wstring& companionArguments = {}) {
        StartCompanion(companionArguments);
        CChildProcess& deskling = StartDeskling(L"/calendar", m_exe);
        HWND calendar = WaitForWindow(kCalendarClass, deskling.Id(), 10s);
        EXPECT_NE(calendar, nullptr) << LogForMessage();
        EXPECT_TRUE(WaitUntil([&] { return calendar && ::IsWindowVisible(calendar); }, 5s));
        m_main = WaitForMainWindow(deskling);
        return calendar;
    }

    // Lets the widget draw what it was last given.
    static CScreenShot SettledShot() {
        std::this_thread::sleep_for(700ms);
        return CScreenShot();
    }

    CDemoService m_service;
    std::wstring m_exe;
    std::wstring m_todayFile;
    HWND m_main = nullptr;
};

TEST_F(CalendarE2eTest, OpensAsALayeredToolWindowOfTheMainWindowAtTheDefaultPlace) {
    HWND calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(calendar, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindow(calendar, GW_OWNER), m_main);
    const RECT rect = WindowRect(calendar);
    const RECT work = WorkArea();
    EXPECT_EQ(rect.right - rect.left, kWidth);
    EXPECT_EQ(rect.bottom - rect.top, kHeight);
    EXPECT_EQ(rect.left, work.right - 417);
    EXPECT_EQ(rect.top, work.top);
    EXPECT_EQ(IniInt(L"XPos"), -999) << "showing saves no place";

    // Raised by someone else, it goes back under every visible window but its owner.
    ::SetWindowPos(calendar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::this_thread::sleep_for(200ms);
    for (HWND below = ::GetWindow(calendar, GW_HWNDNEXT); below; below = ::GetWindow(below, GW_HWNDNEXT)) {
        EXPECT_TRUE(!::IsWindowVisible(below) || below == m_main) << "a visible window below the calendar";
    }
}

TEST_F(CalendarE2eTest, ASavedPlaceIsUsedOnlyInsideTheReducedWorkArea) {
    WriteIni(L"XPos", L"120");
    WriteIni(L"YPos", L"80");
    HWND calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(WindowRect(calendar).left, 120);
    EXPECT_EQ(WindowRect(calendar).top, 80);
    TearDown();
    SetUp();

    const RECT work = WorkArea();
    WriteIni(L"XPos", std::to_wstring(work.right - 20));
    WriteIni(L"YPos", L"80");
    calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(WindowRect(calendar).left, work.right - 417);
    EXPECT_EQ(WindowRect(calendar).top, work.top);
}

TEST_F(CalendarE2eTest, StaysRightBelowAVisibleWallpaperBar) {
    HWND calendar = OpenCalendar(L"/switchbar");
    ASSERT_NE(calendar, nullptr);
    HWND bar = nullptr;
    for (HWND candidate : FindTopLevelWindows(kBarWndClass)) {
        if (WindowTitle(candidate) == L"VexaDirectUICls_SwitchBar" && ::IsWindowVisible(candidate)) {
            bar = candidate;
        }
    }
    ASSERT_NE(bar, nullptr);
    ::SetWindowPos(calendar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return ::GetWindow(bar, GW_HWNDNEXT) == calendar; }, 2s));
}

// 8 October 2026: the month begins on a Thursday (three September days lead), the national holiday's days
// off are 1-7 October and Saturday the 10th is a make-up working day, as the service's holiday file says.
TEST_F(CalendarE2eTest, TodayIsSelectedAndTheServicesBadgesShow) {
    HWND calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    XDoTool(L"mousemove 0 0");
    // The holiday file is fetched on the first show, since nothing says when it last was.
    ASSERT_TRUE(WaitUntil([] { return PathExists(DataFolder() + L"\\holiday.db"); }, 10s)) << LogForMessage();
    const CScreenShot shot = SettledShot();
    const RECT window = WindowRect(calendar);
    auto pixel = [&](int cell, int dx, int dy) {
        return shot.At(window.left + Cell(cell).x + dx, window.top + Cell(cell).y + dy);
    };
    // The selection fills the cell; the badge sits in its top right corner, 15 pixels square.
    EXPECT_TRUE(Near(pixel(10, 2, 53), kSelectedFill)) << Hex(pixel(10, 2, 53));
    EXPECT_FALSE(Near(pixel(11, 2, 53), kSelectedFill)) << "only today is selected";
    for (int rest = 3; rest <= 9; ++rest) {
        EXPECT_TRUE(Near(pixel(rest, 38, 1), kRestBadge)) << "cell " << rest << " " << Hex(pixel(rest, 38, 1));
    }
    EXPECT_TRUE(Near(pixel(12, 38, 1), kWorkBadge)) << Hex(pixel(12, 38, 1));
    for (int plain : {0, 10, 11, 13, 20}) {
        EXPECT_FALSE(Near(pixel(plain, 38, 1), kRestBadge)) << plain;
        EXPECT_FALSE(Near(pixel(plain, 38, 1), kWorkBadge)) << plain;
    }
}

TEST_F(CalendarE2eTest, ANewDayMovesTheSelection) {
    HWND calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    XDoTool(L"mousemove 0 0");
    const RECT window = WindowRect(calendar);
    auto selected = [&](int cell) {
        return Near(CScreenShot().At(window.left + Cell(cell).x + 2, window.top + Cell(cell).y + 53), kSelectedFill);
    };
    ASSERT_TRUE(WaitUntil([&] { return selected(10); }, 5s));
    // 1 November 2026 is a Sunday: six October days lead, so the 2nd is cell 7.
    SetToday("2026-11-02");
    EXPECT_TRUE(WaitUntil([&] { return selected(7) && !selected(10); }, 5s, 200ms));
}

TEST_F(CalendarE2eTest, DraggingWithTheMouseMovesItAndSavesThePlace) {
    HWND calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    const RECT before = WindowRect(calendar);
    // Grab the header, away from every control that takes the mouse.
    const int x = before.left + 200, y = before.top + 70;
    ASSERT_TRUE(XDoTool(At(x, y) + L" mousedown 1" + At(x - 30, y + 20) + At(x - 100, y + 60) + At(x - 150, y + 90) +
                        L" mouseup 1"));
    EXPECT_TRUE(WaitUntil([&] { return WindowRect(calendar).left == before.left - 150; }, 3s))
        << WindowRect(calendar).left;
    EXPECT_EQ(WindowRect(calendar).top, before.top + 90);
    EXPECT_TRUE(
        WaitUntil([&] { return IniInt(L"XPos") == before.left - 150 && IniInt(L"YPos") == before.top + 90; }, 2s))
        << IniInt(L"XPos") << "," << IniInt(L"YPos");

    // A drag that would take the corner out of the work area (less 10 pixels) leaves it where it is.
    const RECT moved = WindowRect(calendar);
    ASSERT_TRUE(XDoTool(At(moved.left + 200, moved.top + 70) + L" mousedown 1" +
                        At(moved.left + 200, moved.top + 70 - moved.top - 5) + L" mouseup 1"));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(WindowRect(calendar).top, moved.top);
}

TEST_F(CalendarE2eTest, TheSliderSwitchesBackgroundBandsAndSavesAlpha) {
    HWND calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    const RECT window = WindowRect(calendar);
    // A press shows the title strip with the slider; its thumb starts at the saved 40 %.
    ASSERT_TRUE(XDoTool(At(window.left + 200, window.top + 70) + L" click 1"));
    std::this_thread::sleep_for(300ms);
    // Bands by the saved value, and the frame's look in each: equal within a band, different across.
    std::map<int, std::vector<COLORREF>> looks;
    auto band = [](int percent) { return percent >= 80 ? 3 : percent >= 70 ? 2 : percent >= 50 ? 1 : 0; };
    const int thumbY = window.top + 8 + 8;
    int thumbX = -1;
    // Find the thumb: 40 % of the track's travel from the slider's left edge.
    for (int step = 0; step < 12; ++step) {
        const int alpha = IniInt(L"alpha");
        const int start = thumbX < 0 ? window.left + 148 + 3 + (alpha == -999 ? 40 : alpha) * 60 / 100 : thumbX;
        const int target = start + 5;
        ASSERT_TRUE(
            XDoTool(At(start, thumbY) + L" mousedown 1" + At(start + 2, thumbY) + At(target, thumbY) + L" mouseup 1"));
        thumbX = target;
        std::this_thread::sleep_for(300ms);
        const int saved = IniInt(L"alpha");
        ASSERT_GE(saved, 0) << "the slider saved no alpha";
        const CScreenShot shot = SettledShot();
        looks[band(saved)].push_back(shot.At(window.left + 3, window.top + 200));
        if (saved >= 95) {
            break;
        }
    }
    EXPECT_GE(looks.size(), 3u) << "the drags crossed too few bands";
    for (auto& [b, colours] : looks) {
        for (COLORREF c : colours) {
            EXPECT_EQ(c, colours.front()) << "band " << b;
        }
        for (auto& [other, otherColours] : looks) {
            if (other != b) {
                EXPECT_NE(colours.front(), otherColours.front()) << "bands " << b << " and " << other;
            }
        }
    }
}

TEST_F(CalendarE2eTest, TheCloseButtonHidesItWritesTheRegistryAndReportsTheClose) {
    HWND calendar = OpenCalendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return m_service.Get(L"/bizhi/list").find("calendar_show") != std::string::npos; }, 5s))
        << m_service.Get(L"/bizhi/list");
    const RECT window = WindowRect(calendar);
    ASSERT_TRUE(XDoTool(At(window.left + 200, window.top + 70) + L" click 1" + At(window.left + 350, window.top + 15) +
                        L" click 1"));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(calendar); }, 3s));
    DWORD value = 1, size = sizeof(value);
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"Software\\VexaWallPaper", L"calendar", RRF_RT_REG_DWORD, nullptr,
                             &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 0u);
    EXPECT_TRUE(
        WaitUntil([&] { return m_service.Get(L"/bizhi/list").find("calendar_close") != std::string::npos; }, 5s))
        << m_service.Get(L"/bizhi/list");
}

} // namespace
} // namespace e2e
