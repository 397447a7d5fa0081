// The control gallery as a reviewer sees it: started as its own program, its layered windows and the
// message box on the screen, and a fill whose colours are fixed read back from the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/E2eHarness.h"
#include "tests/gallery/GalleryLayout.h"

using namespace e2e;

TEST(GalleryE2e, ShowsEveryWindowLayeredWithTheColourBarFilledFromTheRightOnScreen) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring folder = MakeTempFolder(L"gallery"), ready = folder + L"\\ready";
    CChildProcess gallery;
    ASSERT_TRUE(gallery.Start(Quoted(FolderOf(self) + L"\\deskling_gallery.exe") + L" " + gallery::kReadyArgument +
                              L" " + Quoted(ready)));
    ASSERT_TRUE(WaitUntil([&] { return PathExists(ready); }, 30s)) << "the gallery never became ready";

    std::vector<HWND> windows = FindTopLevelWindows(gallery::kWindowClass, gallery.Id());
    ASSERT_EQ(windows.size(), 4u);
    for (HWND window : windows) {
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_TRUE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    }
    std::vector<HWND> boxes = FindTopLevelWindows(L"DesklingMsgBox", gallery.Id());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(::IsWindowVisible(boxes[0]));

    // The screen blends layered windows over black, so a fill drawn at alpha 254 reads back a shade darker.
    const RECT &progress = gallery::kProgressWindow, &bar = gallery::kColourBar;
    const int y = progress.top + (bar.top + bar.bottom) / 2;
    const COLORREF right = ScreenPixel(progress.left + bar.right - 4, y);
    const COLORREF left = ScreenPixel(progress.left + bar.left + 4, y);
    EXPECT_TRUE(Near(right, gallery::kColourBarFill, 6)) << std::hex << right;
    EXPECT_TRUE(Near(left, gallery::kColourBarTrack, 6)) << std::hex << left;

    ::PostMessageW(windows[0], WM_CLOSE, 0, 0);
    EXPECT_TRUE(gallery.WaitForExit(10000));
    EXPECT_EQ(gallery.ExitCode(), 0u);
    DeleteTree(folder);
}
