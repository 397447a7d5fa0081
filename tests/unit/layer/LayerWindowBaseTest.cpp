#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/base/MessageLoop.h"
#include "tests/unit/layer/ControlTestWindow.h"

namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 80;

// A window on the base that records what it pushes and how often the background is drawn. Its
// root holds one full-size group whose background colour the tests change.
class CRecordingWnd : public CLayerWindowBase<CRecordingWnd> {
    using Base = CLayerWindowBase<CRecordingWnd>;

public:
    static const wchar_t* GetWndClassName() { return L"DesklingLayerTestWnd"; }

    BOOL PushFrame(HDC screen, POINT* dest, SIZE* size, HDC source, BLENDFUNCTION* blend, const RECT* dirty) override {
        pushedAlpha.push_back(blend->SourceConstantAlpha);
        return Base::PushFrame(screen, dest, size, source, blend, dirty);
    }
    void OnLayerCreate() override {
        panel = new CLayerControlGroup;
        panel->Create(m_hWnd, this, 1, RECT{0, 0, kWidth, kHeight}, 0);
        panel->SetBackgroundColor(RGB(255, 255, 255));
        GetRootView()->AddChild(panel);
    }
    void DrawBackground(HDC, const RECT&) override { ++backgroundDraws; }
    void DrawOverlay(HDC dc, const RECT&) override {
        RECT clip{};
        ::GetClipBox(dc, &clip);
        clips.push_back(clip);
    }
    void OnLayerTimer(UINT id) override { windowTicks.push_back(id); }
    DWORD Pixel(int x, int y) const { return BitmapPixel(GetWindowBitmap(), x, y); }

    CLayerControlGroup* panel = nullptr;
    std::vector<BYTE> pushedAlpha;
    std::vector<RECT> clips;
    std::vector<UINT> windowTicks;
    int backgroundDraws = 0;
};

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

bool SameRect(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

class LayerWindow : public CLayeredWindowTest<CRecordingWnd> {
protected:
    bool Open() { return CLayeredWindowTest::Open(200, 200, kWidth, kHeight); }
};

} // namespace

TEST_F(LayerWindow, TwoInvalidateRectCallsGiveTwoPushesEachWithItsOwnClip) {
    ASSERT_TRUE(Open());
    // The first frame draws the background once and pushes the whole bitmap at full alpha.
    ASSERT_EQ(wnd.pushedAlpha, std::vector<BYTE>{255});
    ASSERT_EQ(wnd.clips.size(), 1u);
    EXPECT_TRUE(SameRect(wnd.clips[0], RECT{0, 0, kWidth, kHeight}));
    EXPECT_GE(PixelRed(wnd.Pixel(60, 40)), 250);
    wnd.clips.clear();

    wnd.panel->SetBackgroundColor(RGB(0, 0, 255));
    const RECT first{0, 0, 10, 10}, second{50, 30, 70, 50};
    wnd.InvalidateRect(&first, FALSE);
    wnd.InvalidateRect(&second, FALSE);
    PumpMessages();

    EXPECT_EQ(wnd.pushedAlpha.size(), 3u);
    ASSERT_EQ(wnd.clips.size(), 2u);
    EXPECT_TRUE(SameRect(wnd.clips[0], RECT{0, 0, 10, 10}));
    EXPECT_TRUE(SameRect(wnd.clips[1], RECT{50, 30, 70, 50}));
    // Only the clipped areas were repainted blue; the rest keeps the first frame's white.
    EXPECT_GE(PixelBlue(wnd.Pixel(5, 5)), 250);
    EXPECT_LE(PixelRed(wnd.Pixel(5, 5)), 5);
    EXPECT_GE(PixelBlue(wnd.Pixel(60, 40)), 250);
    EXPECT_GE(PixelRed(wnd.Pixel(30, 20)), 250);
    EXPECT_EQ(wnd.backgroundDraws, 1);
}

TEST_F(LayerWindow, ResizeRecreatesBothBitmapsAndRepaintsTheBackgroundOnce) {
    ASSERT_TRUE(Open());
    ::SetWindowPos(wnd.m_hWnd, nullptr, 0, 0, 60, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    wnd.InvalidateRect(nullptr, FALSE);
    PumpMessages();
    for (HBITMAP bitmap : {wnd.GetWindowBitmap(), wnd.GetBackgroundBitmap()}) {
        SIZE size = BitmapSize(bitmap);
        EXPECT_EQ(size.cx, 60);
        EXPECT_EQ(size.cy, 50);
    }
    EXPECT_EQ(wnd.backgroundDraws, 2);
    RECT rootRect{};
    wnd.GetRootView()->GetRect(&rootRect);
    EXPECT_EQ(rootRect.right, 60);

    // Repaints reuse the cached background; only an erase asks for it again.
    wnd.InvalidateRect(nullptr, FALSE);
    const RECT corner{0, 0, 5, 5};
    wnd.InvalidateRect(&corner, FALSE);
    PumpMessages();
    EXPECT_EQ(wnd.backgroundDraws, 2);
    wnd.InvalidateRect(nullptr, TRUE);
    PumpMessages();
    EXPECT_EQ(wnd.backgroundDraws, 3);
}

TEST_F(LayerWindow, AltF4IsSwallowedWhileTheWindowExists) {
    CMessageLoop loop;
    CWindowModule::AddMessageLoop(&loop);
    ASSERT_TRUE(Open());
    MSG altF4{wnd.m_hWnd, WM_SYSKEYDOWN, VK_F4, 0, 0, {}};
    MSG other{wnd.m_hWnd, WM_SYSKEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_TRUE(loop.PreTranslateMessage(&altF4));
    EXPECT_FALSE(loop.PreTranslateMessage(&other));
    wnd.DestroyWindow();
    EXPECT_FALSE(loop.PreTranslateMessage(&altF4));
    CWindowModule::RemoveMessageLoop();
}

TEST_F(LayerWindow, TimerRegistryKeepsTheFirstIntervalAndOneKillStopsIt) {
    EXPECT_FALSE(wnd.SetTimer(3, 10));
    ASSERT_TRUE(Open());
    Trace trace;
    auto* ticking = new CProbeControl(&trace, L"ticking");
    ticking->Create(wnd.m_hWnd, &wnd, 1, RECT{0, 0, 5, 5}, 0);
    ticking->SetTimerID(4);
    wnd.panel->AddChild(ticking);

    EXPECT_TRUE(wnd.SetTimer(3, 60000));
    EXPECT_TRUE(wnd.SetTimer(3, 10));
    EXPECT_TRUE(wnd.SetTimer(4, 10));
    PumpUntil([] { return false; }, 150);
    EXPECT_EQ(std::count(wnd.windowTicks.begin(), wnd.windowTicks.end(), 3u), 0);
    EXPECT_GE(std::count(wnd.windowTicks.begin(), wnd.windowTicks.end(), 4u), 1);
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.front(), L"ticking.tick4");

    EXPECT_TRUE(wnd.KillTimer(4));
    EXPECT_FALSE(wnd.KillTimer(4));
    PumpMessages();
    wnd.windowTicks.clear();
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(wnd.windowTicks.empty());
}

TEST_F(LayerWindow, ToolTipIsRegisteredOnceForTheSameTextAndRemovedOnHide) {
    ASSERT_TRUE(Open());
    // Hiding when nothing was shown makes no tooltip window (destroying one stalls under Wine).
    wnd.ShowToolTip(FALSE, L"");
    EXPECT_EQ(wnd.GetToolTipWindow(), nullptr);
    wnd.ShowToolTip(TRUE, L"first tip");
    HWND tip = wnd.GetToolTipWindow();
    ASSERT_NE(tip, nullptr);
    wnd.ShowToolTip(TRUE, L"first tip");
    wnd.ShowToolTip(TRUE, L"second tip");
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(wnd.GetToolTipText(), L"second tip");
    wnd.ShowToolTip(FALSE, L"");
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_TRUE(wnd.GetToolTipText().empty());
    wnd.DestroyWindow();
    EXPECT_FALSE(::IsWindow(tip));
}
