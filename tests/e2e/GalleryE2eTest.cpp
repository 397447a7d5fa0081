// The control gallery as a reviewer sees it: started as its own program, its layered windows on the
// screen, and the solid fills whose colours are fixed read back from the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/E2eHarness.h"
#include "tests/gallery/GalleryLayout.h"

namespace {

using namespace std::chrono_literals;

std::wstring GalleryExe() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return e2e::FolderOf(self) + L"\\deskling_gallery.exe";
}

// The screen blends layered windows over black, so a fill drawn at alpha 254 reads back a shade darker.
void ExpectScreenColour(HDC screen, POINT point, COLORREF expected, const char* what) {
    COLORREF seen = ::GetPixel(screen, point.x, point.y);
    SCOPED_TRACE(what);
    EXPECT_NEAR(GetRValue(seen), GetRValue(expected), 6);
    EXPECT_NEAR(GetGValue(seen), GetGValue(expected), 6);
    EXPECT_NEAR(GetBValue(seen), GetBValue(expected), 6);
}

POINT OnScreen(const RECT& window, int x, int y) {
    return POINT{window.left + x, window.top + y};
}

} // namespace

TEST(GalleryE2e, ShowsEveryWindowLayeredWithTheFixedFillsOnScreen) {
    std::wstring folder = e2e::MakeTempFolder(L"gallery");
    std::wstring ready = folder + L"\\ready";
    e2e::CChildProcess gallery;
    ASSERT_TRUE(gallery.Start(e2e::Quoted(GalleryExe()) + L" " + gallery::kReadyArgument + L" " + e2e::Quoted(ready)));
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::PathExists(ready); }, 30s)) << "the gallery never became ready";

    std::vector<HWND> windows = e2e::FindTopLevelWindows(gallery::kWindowClass, gallery.Id());
    ASSERT_EQ(windows.size(), 4u);
    for (HWND window : windows) {
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_TRUE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    }
    std::vector<HWND> boxes = e2e::FindTopLevelWindows(L"DesklingMsgBox", gallery.Id());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(::IsWindowVisible(boxes[0]));
    RECT boxRect{};
    ::GetWindowRect(boxes[0], &boxRect);
    EXPECT_EQ(boxRect.right - boxRect.left, 310);
    EXPECT_EQ(boxRect.bottom - boxRect.top, 129);

    HDC screen = ::GetDC(nullptr);
    // Calendar cells: the selection fill and the two badge squares.
    const RECT& calendar = gallery::kCalendarWindow;
    RECT selected = gallery::CellRect(gallery::kSelectedCell);
    ExpectScreenColour(screen, OnScreen(calendar, selected.left + 3, selected.bottom - 3), RGB(0xF3, 0x70, 0x60),
                       "selected cell");
    RECT rest = gallery::CellRect(gallery::kRestCell);
    ExpectScreenColour(screen, OnScreen(calendar, rest.right - 15, rest.top + 1), RGB(0x68, 0xBB, 0x1E), "rest badge");
    RECT work = gallery::CellRect(gallery::kWorkCell);
    ExpectScreenColour(screen, OnScreen(calendar, work.right - 15, work.top + 1), RGB(0xF5, 0xA2, 0x2C),
                       "working-day badge");
    // The colour bar grows from the right: its right part is bar, its left part track.
    const RECT& progress = gallery::kProgressWindow;
    const RECT& bar = gallery::kColourBar;
    int middle = (bar.top + bar.bottom) / 2;
    ExpectScreenColour(screen, OnScreen(progress, bar.right - 4, middle), gallery::kColourBarFill, "bar");
    ExpectScreenColour(screen, OnScreen(progress, bar.left + 4, middle), gallery::kColourBarTrack, "track");
    ::ReleaseDC(nullptr, screen);

    ::PostMessageW(windows[0], WM_CLOSE, 0, 0);
    EXPECT_TRUE(gallery.WaitForExit(10000));
    EXPECT_EQ(gallery.ExitCode().value_or(1), 0u);
    e2e::DeleteTree(folder);
}
