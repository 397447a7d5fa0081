#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <vector>

#include "app/MessageLoop.h"
#include "layer/LayerWindowBase.h"
#include "tests/unit/layer/LayerProbes.h"

namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 80;

// A window on the base that records what it pushes and how often the background is drawn. Its
// root holds one full-size group whose background colour the tests change.
template <class Traits> class CRecordingWnd : public CLayerWindowBase<CRecordingWnd<Traits>, Traits> {
    using Base = CLayerWindowBase<CRecordingWnd<Traits>, Traits>;

public:
    static const wchar_t* GetWndClassName() {
        return (Traits::GetWndExStyle() & WS_EX_LAYERED) ? L"DesklingLayerTestWnd" : L"DesklingPlainTestWnd";
    }

    BOOL PushFrame(HDC screen, POINT* dest, SIZE* size, HDC source, BLENDFUNCTION* blend) {
        pushedAlpha.push_back(blend->SourceConstantAlpha);
        return Base::PushFrame(screen, dest, size, source, blend);
    }
    void OnLayerCreate() override {
        panel = new CLayerControlGroup;
        panel->Create(this->m_hWnd, this, 1, RECT{0, 0, kWidth, kHeight}, 0);
        panel->SetBackgroundColor(RGB(255, 255, 255));
        this->GetRootView()->AddChild(panel);
    }
    void DrawBackground(HDC, const RECT&) override { ++backgroundDraws; }
    void DrawOverlay(HDC dc, const RECT&) override {
        RECT clip{};
        ::GetClipBox(dc, &clip);
        clips.push_back(clip);
    }
    void OnLayerTimer(UINT id) override { windowTicks.push_back(id); }
    void SetAlpha(UINT alpha) { this->m_alpha = alpha; }

    // Colour and alpha of the window bitmap at client (x, y), as stored: 0xAARRGGBB.
    DWORD Pixel(int x, int y) const {
        DIBSECTION dib{};
        if (!::GetObjectW(this->GetWindowBitmap(), sizeof(dib), &dib) || !dib.dsBm.bmBits) {
            return 0;
        }
        const auto* row = static_cast<const BYTE*>(dib.dsBm.bmBits) +
                          static_cast<size_t>(dib.dsBm.bmHeight - 1 - y) * dib.dsBm.bmWidthBytes;
        return reinterpret_cast<const DWORD*>(row)[x];
    }

    CLayerControlGroup* panel = nullptr;
    std::vector<BYTE> pushedAlpha;
    std::vector<RECT> clips;
    std::vector<UINT> windowTicks;
    int backgroundDraws = 0;
};

using CLayeredTestWnd = CRecordingWnd<CLayerWinTraits>;
using CPlainTestWnd = CRecordingWnd<CWinTraits<WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MINIMIZEBOX, 0>>;

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

BYTE Alpha(DWORD pixel) {
    return static_cast<BYTE>(pixel >> 24);
}
BYTE Red(DWORD pixel) {
    return static_cast<BYTE>(pixel >> 16);
}
BYTE Blue(DWORD pixel) {
    return static_cast<BYTE>(pixel);
}

class LayerWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&icc);
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&s_gdiplusToken, &input, nullptr);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(s_gdiplusToken); }

    template <class Wnd> bool Open(Wnd& wnd, int x = 200, int y = 200) {
        RECT rect{x, y, x + kWidth, y + kHeight};
        if (!wnd.Create(nullptr, &rect)) {
            return false;
        }
        ::ShowWindow(wnd.m_hWnd, SW_SHOWNOACTIVATE);
        PumpMessages();
        return true;
    }

    static inline ULONG_PTR s_gdiplusToken = 0;
};

} // namespace

TEST_F(LayerWindow, FirstFrameDrawsTheBackgroundOnceAndPushesTheWholeBitmap) {
    CLayeredTestWnd wnd;
    ASSERT_TRUE(Open(wnd));
    EXPECT_TRUE(::GetWindowLongPtrW(wnd.m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_EQ(wnd.pushedAlpha.size(), 1u);
    EXPECT_EQ(wnd.pushedAlpha[0], 255);
    EXPECT_EQ(wnd.backgroundDraws, 1);
    RECT whole{0, 0, kWidth, kHeight};
    ASSERT_EQ(wnd.clips.size(), 1u);
    EXPECT_TRUE(::EqualRect(&wnd.clips[0], &whole));
    SIZE size = BitmapSize(wnd.GetWindowBitmap());
    EXPECT_EQ(size.cx, kWidth);
    EXPECT_EQ(size.cy, kHeight);
    // The panel's white fill is nearly opaque; the cached background under it stays transparent.
    DWORD pixel = wnd.Pixel(60, 40);
    EXPECT_GE(Alpha(pixel), 250);
    EXPECT_GE(Red(pixel), 250);
    wnd.DestroyWindow();
}

TEST_F(LayerWindow, TwoInvalidateRectCallsGiveTwoPushesEachWithItsOwnClip) {
    CLayeredTestWnd wnd;
    ASSERT_TRUE(Open(wnd));
    wnd.clips.clear();
    wnd.pushedAlpha.clear();

    wnd.panel->SetBackgroundColor(RGB(0, 0, 255));
    wnd.InvalidateRect(new RECT{0, 0, 10, 10}, FALSE);
    wnd.InvalidateRect(new RECT{50, 30, 70, 50}, FALSE);
    PumpMessages();

    ASSERT_EQ(wnd.pushedAlpha.size(), 2u);
    ASSERT_EQ(wnd.clips.size(), 2u);
    RECT first{0, 0, 10, 10}, second{50, 30, 70, 50};
    EXPECT_TRUE(::EqualRect(&wnd.clips[0], &first));
    EXPECT_TRUE(::EqualRect(&wnd.clips[1], &second));
    // Only the clipped areas were repainted blue; the rest keeps the first frame's white.
    EXPECT_GE(Blue(wnd.Pixel(5, 5)), 250);
    EXPECT_LE(Red(wnd.Pixel(5, 5)), 5);
    EXPECT_GE(Blue(wnd.Pixel(60, 40)), 250);
    EXPECT_GE(Red(wnd.Pixel(30, 20)), 250);
    EXPECT_EQ(wnd.backgroundDraws, 1);
    wnd.DestroyWindow();
}

TEST_F(LayerWindow, AlphaBelow255ScalesTheWindowOnlyAfterTheNextRepaint) {
    CLayeredTestWnd wnd;
    ASSERT_TRUE(Open(wnd, 300, 300));
    HDC screen = ::GetDC(nullptr);
    COLORREF opaque = ::GetPixel(screen, 360, 340);

    wnd.SetAlpha(128);
    PumpMessages();
    EXPECT_EQ(wnd.pushedAlpha.size(), 1u);
    EXPECT_EQ(::GetPixel(screen, 360, 340), opaque);

    wnd.InvalidateRect(nullptr, FALSE);
    PumpMessages();
    ASSERT_EQ(wnd.pushedAlpha.size(), 2u);
    EXPECT_EQ(wnd.pushedAlpha[1], 128);
    // The bitmap itself is unchanged: the constant alpha scales it only on the way to the screen.
    EXPECT_GE(Alpha(wnd.Pixel(60, 40)), 250);
    COLORREF scaled = ::GetPixel(screen, 360, 340);
    ::ReleaseDC(nullptr, screen);
    if (GetRValue(opaque) >= 250) {
        // The screen blends the window over black: half alpha gives about half the brightness.
        EXPECT_NEAR(GetRValue(scaled), 128, 12);
        EXPECT_NEAR(GetBValue(scaled), 128, 12);
    }
    wnd.DestroyWindow();
}

TEST_F(LayerWindow, ResizeRecreatesBothBitmapsAndRepaintsTheBackgroundOnce) {
    CLayeredTestWnd wnd;
    ASSERT_TRUE(Open(wnd));
    ASSERT_EQ(wnd.backgroundDraws, 1);

    ::SetWindowPos(wnd.m_hWnd, nullptr, 0, 0, 60, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    wnd.InvalidateRect(nullptr, FALSE);
    PumpMessages();
    SIZE windowSize = BitmapSize(wnd.GetWindowBitmap());
    SIZE backgroundSize = BitmapSize(wnd.GetBackgroundBitmap());
    EXPECT_EQ(windowSize.cx, 60);
    EXPECT_EQ(windowSize.cy, 50);
    EXPECT_EQ(backgroundSize.cx, 60);
    EXPECT_EQ(backgroundSize.cy, 50);
    EXPECT_EQ(wnd.backgroundDraws, 2);
    // The root view follows the client area.
    RECT rootRect{};
    wnd.GetRootView()->GetRect(&rootRect);
    EXPECT_EQ(rootRect.right, 60);

    wnd.InvalidateRect(nullptr, FALSE);
    wnd.InvalidateRect(new RECT{0, 0, 5, 5}, FALSE);
    PumpMessages();
    EXPECT_EQ(wnd.backgroundDraws, 2);
    // Erase asks for the background again.
    wnd.InvalidateRect(nullptr, TRUE);
    PumpMessages();
    EXPECT_EQ(wnd.backgroundDraws, 3);
    wnd.DestroyWindow();
}

TEST_F(LayerWindow, WindowWithoutLayeredTraitsPaintsThroughPaintMessagesAndNeverPushes) {
    CPlainTestWnd wnd;
    ASSERT_TRUE(Open(wnd));
    ::UpdateWindow(wnd.m_hWnd);
    wnd.InvalidateRect(nullptr, FALSE);
    PumpMessages();
    EXPECT_FALSE(::GetWindowLongPtrW(wnd.m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(wnd.pushedAlpha.empty());
    EXPECT_GE(wnd.clips.size(), 1u);

    // WM_PRINTCLIENT draws the same frame into the given context.
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
    wnd.panel->SetBackgroundColor(RGB(0, 0, 255));
    ::SendMessageW(wnd.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    COLORREF colour = ::GetPixel(dc, 60, 40);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    EXPECT_GE(GetBValue(colour), 250);
    EXPECT_LE(GetRValue(colour), 5);
    EXPECT_TRUE(wnd.pushedAlpha.empty());
    wnd.DestroyWindow();
}

TEST_F(LayerWindow, PressOnADisabledButtonNeitherClicksNorDragsAndTheBackgroundDrags) {
    CLayeredTestWnd wnd;
    ASSERT_TRUE(Open(wnd, 400, 100));
    Trace trace;
    auto* button = new CProbeControl(&trace, L"button");
    button->Create(wnd.m_hWnd, &wnd, 42, RECT{10, 10, 40, 30}, 0);
    button->SetInteractive(TRUE);
    button->SetEnabled(FALSE, FALSE);
    wnd.panel->AddChild(button);

    auto hitTest = [&wnd](int x, int y) {
        return ::SendMessageW(wnd.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(400 + x, 100 + y));
    };
    EXPECT_EQ(hitTest(20, 20), HTCLIENT);
    EXPECT_EQ(hitTest(80, 60), HTCAPTION);
    ::SendMessageW(wnd.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ::SendMessageW(wnd.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    PumpMessages();
    EXPECT_TRUE(trace.empty());

    // Enabled, the button gets the click (its command arrives through the window's queue).
    button->SetEnabled(TRUE, FALSE);
    ::SendMessageW(wnd.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ::SendMessageW(wnd.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(70, 70));
    EXPECT_EQ(trace, (Trace{L"button.down(20,20)", L"button.up(70,70)"}));
    MSG command{};
    EXPECT_TRUE(::PeekMessageW(&command, wnd.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(LOWORD(command.wParam), 42);

    // With dragging by background off, the window never asks the system to move it.
    wnd.SetDragByBackground(FALSE);
    EXPECT_EQ(hitTest(80, 60), HTCLIENT);
    wnd.DestroyWindow();
}

TEST_F(LayerWindow, AltF4IsSwallowedWhileTheWindowExists) {
    CMessageLoop loop;
    CWindowModule::AddMessageLoop(&loop);
    CLayeredTestWnd wnd;
    ASSERT_TRUE(Open(wnd));
    MSG altF4{wnd.m_hWnd, WM_SYSKEYDOWN, VK_F4, 0, 0, {}};
    MSG other{wnd.m_hWnd, WM_SYSKEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_TRUE(loop.PreTranslateMessage(&altF4));
    EXPECT_FALSE(loop.PreTranslateMessage(&other));
    wnd.DestroyWindow();
    EXPECT_FALSE(loop.PreTranslateMessage(&altF4));
    CWindowModule::RemoveMessageLoop();
}

TEST_F(LayerWindow, TimerRegistryKeepsTheFirstIntervalAndOneKillStopsIt) {
    CLayeredTestWnd wnd;
    EXPECT_FALSE(wnd.SetTimer(3, 10));
    ASSERT_TRUE(Open(wnd));
    Trace trace;
    auto* ticking = new CProbeControl(&trace, L"ticking");
    ticking->Create(wnd.m_hWnd, &wnd, 1, RECT{0, 0, 5, 5}, 0);
    ticking->SetTimerID(4);
    wnd.panel->AddChild(ticking);

    EXPECT_TRUE(wnd.SetTimer(3, 60000));
    EXPECT_TRUE(wnd.SetTimer(3, 10));
    EXPECT_TRUE(wnd.SetTimer(4, 10));
    PumpMessagesFor(150);
    EXPECT_EQ(std::count(wnd.windowTicks.begin(), wnd.windowTicks.end(), 3u), 0);
    EXPECT_GE(std::count(wnd.windowTicks.begin(), wnd.windowTicks.end(), 4u), 1);
    EXPECT_FALSE(trace.empty());
    EXPECT_EQ(trace.front(), L"ticking.tick4");

    EXPECT_TRUE(wnd.KillTimer(4));
    EXPECT_FALSE(wnd.KillTimer(4));
    EXPECT_FALSE(wnd.KillTimer(99));
    PumpMessages();
    wnd.windowTicks.clear();
    PumpMessagesFor(100);
    EXPECT_TRUE(wnd.windowTicks.empty());
    wnd.DestroyWindow();
}

TEST_F(LayerWindow, ToolTipIsRegisteredOnceForTheSameTextAndRemovedOnHide) {
    CLayeredTestWnd wnd;
    ASSERT_TRUE(Open(wnd));
    // Hiding when nothing was shown makes no tooltip window.
    wnd.ShowToolTip(FALSE, L"");
    EXPECT_EQ(wnd.GetToolTipWindow(), nullptr);
    wnd.ShowToolTip(TRUE, L"first tip");
    HWND tip = wnd.GetToolTipWindow();
    ASSERT_NE(tip, nullptr);
    wnd.ShowToolTip(TRUE, L"first tip");
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(wnd.GetToolTipText(), L"first tip");
    wnd.ShowToolTip(TRUE, L"second tip");
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wnd.ShowToolTip(FALSE, L"");
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_TRUE(wnd.GetToolTipText().empty());
    EXPECT_EQ(wnd.GetToolTipWindow(), tip);
    wnd.DestroyWindow();
    EXPECT_FALSE(::IsWindow(tip));
}
