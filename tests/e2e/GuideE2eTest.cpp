// The first-run guide ("/guide") on a stand-in desktop, as a user meets it; its usage events go to the
// sample-data service.

#include "e2e/ServiceTreeE2eTest.h"

#include <filesystem>
#include <fstream>

namespace e2e {
namespace {

using GuideE2eTest = CServiceTreeE2eTest;

// Without the icon nothing shows and the process ends three seconds later. With it the balloon points at it
// from the first place that fits; a button (the close cross is placed natively) hides it and the process ends
// three seconds later; open starts the wallpaper application with "opensuperwp" (its bars show). Then no more
// guide.
TEST_F(GuideE2eTest, PointsAtTheIconUntilAButtonEndsItOnceAndEndsUnseenWithoutTheIcon) {
    const struct {
        const wchar_t* icon;
        bool left, above, open;
        const char* button; // the event of the button clicked; null: no balloon
    } rows[] = {{L"此电脑", false, false, false, nullptr},
                {L"Vexa壁纸@24,12", false, false, false, "guide_close"},
                {L"Vexa壁纸@1180,680", true, true, true, "guide_clickopen"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.icon);
        ASSERT_TRUE(DeleteTree(DataFolder()));
        const std::wstring ready = m_scratch + L"\\" + std::to_wstring(&row - rows);
        const CChildProcess& desktop = Start(Quoted(FolderOf(BinDir()) + L"\\tests\\helpers\\StandInDesktop.exe") +
                                             L" " + ready + L" 回收站 " + row.icon);
        RECT i{};
        ASSERT_TRUE(WaitUntil(
            [&] { return !!(std::ifstream(std::filesystem::path(ready)) >> i.left >> i.top >> i.right >> i.bottom); },
            9s));
        ASSERT_TRUE(XDoTool(L"mousemove 640 400"));
        CChildProcess& deskling = StartDeskling(L"/guide", m_exe);
        auto start = Clock::now();
        HWND guide = WaitForWindow(L"VexawpGuideWndClass", deskling.Id(), 9s);
        const int x = row.left ? i.left - 267 : i.right, y = (i.top + i.bottom) / 2 - (row.above ? 166 : 0);
        const int closeX = row.left ? 14 : 253;
        if (row.button) {
            ASSERT_TRUE(WaitUntil(
                [&] {
                    const COLORREF c = ScreenPixel(x + 108, y + 125);
                    return GetBValue(c) > GetRValue(c) + 100;
                },
                5s))
                << ReadLog();
            EXPECT_TRUE(WaitUntil([&] { return ReportCount("guide_show") == static_cast<size_t>(&row - rows); }, 5s));
            ASSERT_TRUE(XDoTool(L"mousemove " + std::to_wstring(row.open ? x + 138 : x + closeX) + L" " +
                                std::to_wstring(row.open ? y + 125 : y + 14) + L" sleep 0.2 click 1"));
            start = Clock::now();
            EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(guide); }, 2s));
            EXPECT_TRUE(WaitUntil([&] { return ReportCount(row.button) == (row.open ? 2u : 1u); }, 5s));
        }
        EXPECT_EQ(row.open, WaitUntil([] { return VisibleBar(kSwitchBar) && VisibleBar(kFence); }, row.open ? 5s : 0s));
        ASSERT_TRUE(deskling.WaitForExit(8000));
        EXPECT_NEAR(MillisecondsSince(start), 3000.0, 1500.0);
        EXPECT_EQ(deskling.ExitCode(), 0u);
        ::PostMessageW(::FindWindowW(L"Progman", nullptr), WM_CLOSE, 0, 0);
        EXPECT_TRUE(desktop.WaitForExit(5000));
    }
    CChildProcess& again = StartDeskling(L"/guide", m_exe);
    EXPECT_TRUE(again.WaitForExit(2000) && again.ExitCode() == 0);
    EXPECT_EQ(CountInLog(L"guide already shown, quit"), 1u);
    EXPECT_EQ(CountInLog(L"guide: no desktop icon"), 1u);
    EXPECT_EQ(ReportCount("guide_show"), 2u);
}

} // namespace
} // namespace e2e
