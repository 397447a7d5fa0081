#include <gtest/gtest.h>

#include <algorithm>

#include "layer/LayerButtonCtrl.h"
#include "layer/LayerCheckboxCtrl.h"
#include "tests/unit/layer/ControlTestWindow.h"

namespace {

constexpr COLORREF kFrameColors[] = {RGB(220, 0, 0),   RGB(0, 220, 0),   RGB(0, 0, 220),  RGB(220, 220, 0),
                                     RGB(0, 220, 220), RGB(220, 0, 220), RGB(120, 60, 0), RGB(0, 60, 120)};

// The stored pixel as a COLORREF; the strips are opaque, so no premultiplication is involved.
COLORREF ColorOf(DWORD pixel) {
    return RGB(PixelRed(pixel), PixelGreen(pixel), PixelBlue(pixel));
}

class ButtonControls : public ControlWindowTest {};

} // namespace

TEST_F(ButtonControls, FrameFollowsTheStateAsFarAsTheStripHasFrames) {
    struct Case {
        int frames;
        bool disabled, pressed, hot;
        int frame;
    };
    const Case cases[] = {
        {1, true, true, true, 0}, {3, true, false, false, 0}, {3, true, false, true, 1},  {3, false, true, true, 2},
        {4, true, true, true, 3}, {4, false, true, true, 2},  {4, false, false, true, 1}, {4, false, false, false, 0},
    };
    std::unique_ptr<CImage> strips[] = {
        MakeStrip({kFrameColors[0]}, 8, 8), nullptr,
        MakeStrip({kFrameColors[0], kFrameColors[1], kFrameColors[2]}, 8, 8),
        MakeStrip({kFrameColors[0], kFrameColors[1], kFrameColors[2], kFrameColors[3]}, 8, 8)};
    auto* button = Add(new CLayerButtonCtrl, RECT{10, 10, 60, 40});
    for (const Case& c : cases) {
        button->SetImage(strips[c.frames - 1].get(), FALSE);
        button->SetEnabled(!c.disabled, FALSE);
        button->SetPressed(c.pressed);
        button->SetHot(c.hot);
        Repaint();
        EXPECT_EQ(ColorOf(Pixel(35, 25)), kFrameColors[c.frame])
            << c.frames << " frames, disabled " << c.disabled << " pressed " << c.pressed << " hot " << c.hot;
    }
}

TEST_F(ButtonControls, PressMovedOffAndReleasedStillClicksButADisabledButtonNeitherClicksNorDrags) {
    std::unique_ptr<CImage> strip =
        MakeStrip({kFrameColors[0], kFrameColors[1], kFrameColors[2], kFrameColors[3]}, 8, 8);
    auto* button = Add(new CLayerButtonCtrl, RECT{10, 10, 60, 40}, 7);
    button->SetImage(strip.get(), FALSE);
    MouseMove(20, 20);
    EXPECT_EQ(ColorOf(Pixel(35, 25)), kFrameColors[1]);
    Press(20, 20);
    EXPECT_EQ(ColorOf(Pixel(35, 25)), kFrameColors[2]);
    MouseMove(150, 100);
    EXPECT_TRUE(wnd.commands.empty());
    Release(150, 100);
    EXPECT_EQ(wnd.commands, (std::vector<std::pair<int, LPARAM>>{{7, 0}}));
    EXPECT_EQ(ColorOf(Pixel(35, 25)), kFrameColors[0]);

    button->SetEnabled(FALSE, TRUE);
    Click(20, 20);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(wnd.commands.size(), 1u);
    auto hitTest = [this](int x, int y) {
        return ::SendMessageW(wnd.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(kLeft + x, kTop + y));
    };
    EXPECT_EQ(hitTest(20, 20), HTCLIENT);
    EXPECT_EQ(hitTest(150, 100), HTCAPTION);
    wnd.SetDragByBackground(FALSE);
    EXPECT_EQ(hitTest(150, 100), HTCLIENT);
}

// Moved to a monitor at 200 %, the window doubles and draws at that scale, and a click where the monitor
// shows a button reaches that button rather than the one under the same point unscaled.
TEST_F(ButtonControls, AtTwiceTheScaleAClickAtTheScaledPlaceReachesItsButton) {
    std::unique_ptr<CImage> strip =
        MakeStrip({kFrameColors[0], kFrameColors[1], kFrameColors[2], kFrameColors[3]}, 8, 8);
    Add(new CLayerButtonCtrl, RECT{10, 10, 60, 40}, 5)->SetImage(strip.get(), FALSE);
    Add(new CLayerButtonCtrl, RECT{62, 42, 110, 80}, 6)->SetImage(strip.get(), FALSE);
    RECT suggested{kLeft, kTop, kLeft + 1, kTop + 1}; // the size is the window's own to work out
    ::SendMessageW(wnd.m_hWnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages();
    RECT client{};
    ::GetClientRect(wnd.m_hWnd, &client);
    EXPECT_TRUE(client.right == 400 && client.bottom == 240) << client.right << " x " << client.bottom;
    EXPECT_EQ(ColorOf(Pixel(100, 30)), kFrameColors[0]) << "not drawn at the scale";
    ::SendMessageW(wnd.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 50));
    ::SendMessageW(wnd.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(70, 50));
    PumpMessages();
    EXPECT_EQ(wnd.commands, (std::vector<std::pair<int, LPARAM>>{{5, 0}}));
}

TEST_F(ButtonControls, CheckBoxShowsFrameFourPlusStateWhenCheckedAndTogglesOnClick) {
    std::unique_ptr<CImage> strip = MakeStrip({kFrameColors[0], kFrameColors[1], kFrameColors[2], kFrameColors[3],
                                               kFrameColors[4], kFrameColors[5], kFrameColors[6], kFrameColors[7]},
                                              12, 12);
    auto* box = Add(new CLayerCheckboxCtrl, RECT{10, 10, 110, 40}, 9);
    box->SetImage(strip.get(), FALSE);
    Repaint();
    // Natural size at the left edge, centred vertically: (10, 19) to (22, 31).
    auto shown = [this] { return ColorOf(Pixel(16, 25)); };
    EXPECT_EQ(shown(), kFrameColors[0]);
    EXPECT_EQ(PixelAlpha(Pixel(16, 15)), 0);
    EXPECT_EQ(PixelAlpha(Pixel(25, 25)), 0);

    MouseMove(16, 25);
    EXPECT_EQ(shown(), kFrameColors[1]);
    Press(16, 25);
    EXPECT_EQ(shown(), kFrameColors[2]);
    Release(16, 25);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(shown(), kFrameColors[5]);
    // Without toggling a click only reports.
    box->SetToggleOnClick(false);
    Click(16, 25);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(wnd.commands, (std::vector<std::pair<int, LPARAM>>{{9, 0}, {9, 0}}));

    box->SetEnabled(FALSE, TRUE);
    PumpMessages();
    EXPECT_EQ(shown(), kFrameColors[7]);
    box->SetCheck(false, TRUE);
    PumpMessages();
    EXPECT_EQ(shown(), kFrameColors[3]);
}
