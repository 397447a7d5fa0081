#include <gtest/gtest.h>

#include "layer/LayerProgress.h"
#include "layer/LayerSliderCtrl.h"
#include "tests/unit/layer/ControlTestWindow.h"

namespace {

constexpr COLORREF kTrack = RGB(0, 0, 255);
constexpr COLORREF kBar = RGB(255, 0, 0);

class ProgressSlider : public ControlWindowTest {
protected:
    CLayerProgress* AddProgress(RECT rect, uint64_t position, uint64_t maximum) {
        auto* progress = Add(new CLayerProgress, rect);
        progress->SetTrackColor(kTrack);
        progress->SetBarColor(kBar);
        progress->SetMax(maximum, FALSE);
        progress->SetPos(position, FALSE);
        return progress;
    }
    // Fills are drawn at alpha 254, so one over the other lets a trace of the lower one through.
    bool IsTrack(int x, int y) const { return Shows(Pixel(x, y), PixelBlue, PixelRed); }
    bool IsBar(int x, int y) const { return Shows(Pixel(x, y), PixelRed, PixelBlue); }

private:
    static bool Shows(DWORD pixel, BYTE (*own)(DWORD), BYTE (*other)(DWORD)) {
        return own(pixel) >= 253 && other(pixel) <= 2 && PixelGreen(pixel) <= 2 && PixelAlpha(pixel) >= 254;
    }
};

} // namespace

// Where the bar ends is worked out natively; here the control draws the track and the bar where it says.
TEST_F(ProgressSlider, ZeroShowsOnlyTheTrackAndATenthOfAPercentShowsOnePercent) {
    AddProgress(RECT{0, 0, 200, 10}, 0, 1000);
    AddProgress(RECT{0, 20, 200, 30}, 1, 1000);
    Repaint();

    for (int x : {0, 1, 100, 199}) {
        EXPECT_TRUE(IsTrack(x, 5)) << x;
    }
    EXPECT_TRUE(IsBar(0, 25) && IsBar(1, 25) && IsTrack(2, 25));
}

TEST_F(ProgressSlider, SliderDraggedPastEitherEndStopsThereAndReportsZeroAndHundred) {
    std::unique_ptr<CImage> track = MakeStrip({RGB(90, 90, 90)}, 160, 20);
    std::unique_ptr<CImage> thumb = MakeStrip({RGB(255, 255, 255), RGB(255, 255, 0)}, 10, 20);
    auto* slider = Add(new CLayerSliderCtrl, RECT{20, 50, 180, 70}, 5);
    slider->SetTrackImage(track.get());
    slider->SetThumbImage(thumb.get());
    slider->SetRange(150);
    slider->SetOffset(30, FALSE);
    Repaint();
    EXPECT_EQ(Pixel(55, 60), 0xFFFFFFFFu);

    MouseMove(55, 60);
    EXPECT_TRUE(slider->IsThumbHot());
    EXPECT_EQ(Pixel(55, 60), 0xFFFFFF00u);
    Press(55, 60);
    EXPECT_TRUE(slider->IsDragging());
    MouseMove(65, 60);
    MouseMove(179, 60);
    EXPECT_EQ(slider->GetOffset(), 150);
    MouseMove(169, 60);
    MouseMove(21, 60);
    EXPECT_EQ(slider->GetOffset(), 0);
    Release(21, 60);
    MouseMove(100, 60);
    EXPECT_EQ(slider->GetOffset(), 0);

    std::vector<std::pair<int, LPARAM>> expected{{5, 26}, {5, 100}, {5, 93}, {5, 0}};
    EXPECT_EQ(wnd.commands, expected);
    EXPECT_EQ(Pixel(25, 60), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(100, 60), 0xFF5A5A5Au);
}
