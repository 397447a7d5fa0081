// The first-run guide ("/guide") as a user meets it: a balloon beside the wallpaper application's icon on a
// stand-in desktop, its two buttons, the end three seconds later, and no second showing. deskling.exe runs
// from a copy of the runnable tree whose usage events go to the sample-data service.

#include "e2e/ServiceTreeE2eTest.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr wchar_t kGuideWndClass[] = L"VexawpGuideWndClass";
constexpr int kWidth = 267, kHeight = 166;

std::wstring At(int x, int y) {
    return L" mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y) + L" sleep 0.2";
}

bool Bright(COLORREF c) {
    return GetRValue(c) > 120 && GetGValue(c) > 120 && GetBValue(c) > 120;
}

class GuideE2eTest : public CServiceTreeE2eTest {
protected:
    // Starts the stand-in desktop with the icons ("caption" or "caption@x,y"); the last icon's bounds.
    RECT StartDesktop(const std::wstring& icons) {
        const std::wstring ready = m_scratch + L"\\desktop-" + std::to_wstring(++m_desktops) + L".txt";
        const std::wstring exe = FolderOf(BinDir()) + L"\\tests\\helpers\\FakeDesktop.exe";
        Start(Quoted(exe) + L" " + Quoted(ready) + L" " + icons);
        RECT icon{};
        EXPECT_TRUE(WaitUntil(
            [&] {
                return static_cast<bool>(std::ifstream(std::filesystem::path(ready)) >> icon.left >> icon.top >>
                                         icon.right >> icon.bottom);
            },
            10s));
        return icon;
    }

    // True when the process ended without ever showing its balloon; the time it took, in ms.
    static bool EndsUnseen(const CChildProcess& deskling, double* ms) {
        const auto start = Clock::now();
        bool seen = false;
        WaitUntil(
            [&] {
                seen = seen || ::IsWindowVisible(WaitForWindow(kGuideWndClass, deskling.Id(), 0ms));
                return !deskling.IsRunning();
            },
            8s, 5ms);
        *ms = MillisecondsSince(start);
        return !deskling.IsRunning() && !seen && deskling.ExitCode() == 0;
    }

    int m_desktops = 0;
};

// The balloon stands beside the icon where the first of four places fits, pointing at it with the close
// button away from it; each button hides it and the process ends three seconds later. Open starts the
// wallpaper application, which shows its bars on "opensuperwp", and is reported twice.
TEST_F(GuideE2eTest, PointsAtTheIconAndEachButtonHidesItAndEndsTheProcessThreeSecondsLater) {
    const struct {
        const wchar_t* icon;
        bool leftOfIcon, aboveMiddle, open;
    } rows[] = {{L"Vexa壁纸@24,12", false, false, false}, {L"Vexa壁纸@1180,680", true, true, true}};
    size_t shown = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.icon);
        ASSERT_TRUE(DeleteTree(DataFolder()));
        const RECT icon = StartDesktop(L"回收站 " + std::wstring(row.icon));
        ASSERT_TRUE(XDoTool(At(640, 400)));
        CChildProcess& deskling = StartDeskling(L"/guide", m_exe);
        HWND guide = WaitForWindow(kGuideWndClass, deskling.Id(), 10s);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(guide); }, 5s)) << ReadLog();
        EXPECT_TRUE(::GetWindowLongPtrW(guide, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

        const int middle = (icon.top + icon.bottom) / 2;
        const int x = row.leftOfIcon ? icon.left - kWidth : icon.right, y = row.aboveMiddle ? middle - kHeight : middle;
        RECT rect{};
        ::GetWindowRect(guide, &rect);
        EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right, rect.bottom}),
                  std::vector<LONG>({x, y, x + kWidth, y + kHeight}));
        // On screen: the open button's blue left of its caption, the close cross in the corner away from the
        // icon and none in the other.
        COLORREF open = 0;
        EXPECT_TRUE(WaitUntil(
            [&] {
                open = ScreenPixel(x + 108, y + 125);
                return GetBValue(open) > 200 && GetBValue(open) > GetRValue(open) + 100;
            },
            3s))
            << std::hex << open;
        const int closeX = row.leftOfIcon ? 14 : kWidth - 14, otherX = kWidth - closeX;
        EXPECT_TRUE(Bright(ScreenPixel(x + closeX, y + 14))) << std::hex << ScreenPixel(x + closeX, y + 14);
        EXPECT_FALSE(Bright(ScreenPixel(x + otherX, y + 14))) << std::hex << ScreenPixel(x + otherX, y + 14);
        EXPECT_TRUE(WaitUntil([&] { return ReportCount("guide_show") == shown + 1; }, 5s))
            << m_service.Get(L"/bizhi/list");
        ++shown;
        EXPECT_TRUE(WaitUntil(
            [] {
                return ::GetPrivateProfileIntW(L"guide", L"bshow", 0, (DataFolder() + L"\\deskling.ini").c_str()) == 1;
            },
            2s));

        ASSERT_TRUE(XDoTool(row.open ? At(x + 138, y + 125) + L" click 1" : At(x + closeX, y + 14) + L" click 1"));
        const auto clicked = Clock::now();
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(guide); }, 2s));
        if (row.open) {
            EXPECT_TRUE(WaitUntil([] { return VisibleBar(kSwitchBar) && VisibleBar(kFence); }, 5s));
            EXPECT_EQ(ProcessIdsNamed(L"Vexawpapp.exe").size(), 1u);
            EXPECT_TRUE(WaitUntil([&] { return ReportCount("guide_clickopen") == 2; }, 5s))
                << m_service.Get(L"/bizhi/list");
        } else {
            EXPECT_TRUE(Reported("guide_close")) << m_service.Get(L"/bizhi/list");
            EXPECT_TRUE(ProcessIdsNamed(L"Vexawpapp.exe").empty());
        }
        ASSERT_TRUE(deskling.WaitForExit(8000));
        EXPECT_GT(MillisecondsSince(clicked), 2500.0);
        EXPECT_LT(MillisecondsSince(clicked), 4500.0);
        EXPECT_EQ(deskling.ExitCode(), 0u);
    }
    EXPECT_EQ(ReportCount("guide_show"), 2u);
    EXPECT_EQ(ReportCount("guide_close"), 1u);

    // Shown once: a later "/guide" ends at once.
    double ms = 0;
    EXPECT_TRUE(EndsUnseen(StartDeskling(L"/guide", m_exe), &ms));
    EXPECT_LT(ms, 2000.0);
    EXPECT_EQ(CountInLog(L"guide already shown, quit"), 1u) << ReadLog();
    EXPECT_EQ(ReportCount("guide_show"), 2u);
}

// Without the icon, on a desktop without it or with no desktop at all, nothing is shown or reported and the
// process ends by itself three seconds later.
TEST_F(GuideE2eTest, WithoutTheIconEndsThreeSecondsLaterUnseen) {
    for (bool desktop : {false, true}) {
        SCOPED_TRACE(desktop);
        ASSERT_TRUE(DeleteTree(DataFolder()));
        if (desktop) {
            StartDesktop(L"回收站 此电脑");
        }
        double ms = 0;
        EXPECT_TRUE(EndsUnseen(StartDeskling(L"/guide", m_exe), &ms));
        EXPECT_GT(ms, 2500.0);
        EXPECT_LT(ms, 5000.0);
    }
    EXPECT_EQ(CountInLog(L"guide: no desktop icon"), 2u) << ReadLog();
    EXPECT_EQ(m_service.Get(L"/bizhi/list"), "[]");
}

} // namespace
} // namespace e2e
