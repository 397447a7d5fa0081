#include <gtest/gtest.h>

#include <algorithm>

#include "layer/LayerCalendarItemCtrl.h"
#include "layer/LayerImageCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "layer/LayerLine.h"
#include "tests/unit/layer/ControlTestWindow.h"

namespace {

// The bounding box of the pixels in `area` that pass a test.
template <class Test> RECT BoundingBox(const std::vector<DWORD>& pixels, const RECT& area, Test test) {
    RECT box{area.right, area.bottom, area.left, area.top};
    int width = area.right - area.left;
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (test(pixels[i])) {
            int x = area.left + static_cast<int>(i) % width;
            int y = area.top + static_cast<int>(i) / width;
            box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                       std::max<LONG>(box.bottom, y + 1)};
        }
    }
    return box;
}

// Premultiplied at alpha 254: a channel c is stored as c * 254 / 255. Over another fill, a trace of that
// one shows through and the alpha is 254 + 254 / 255, which the blend may round either way.
void ExpectFill(DWORD pixel, COLORREF color, bool overFill = false) {
    int tolerance = overFill ? 3 : 1;
    EXPECT_NEAR(PixelRed(pixel), GetRValue(color) * 254 / 255, tolerance) << std::hex << pixel;
    EXPECT_NEAR(PixelGreen(pixel), GetGValue(color) * 254 / 255, tolerance) << std::hex << pixel;
    EXPECT_NEAR(PixelBlue(pixel), GetBValue(color) * 254 / 255, tolerance) << std::hex << pixel;
    if (overFill) {
        EXPECT_GE(PixelAlpha(pixel), 254) << std::hex << pixel;
    } else {
        EXPECT_EQ(PixelAlpha(pixel), 254) << std::hex << pixel;
    }
}

class DrawnControls : public ControlWindowTest {};

} // namespace

TEST_F(DrawnControls, OutlinedLabelDrawsFourShiftedPassesAndIgnoresTheShadow) {
    const RECT area{0, 0, 200, 60};
    auto* label = Add(new CLayerLabelCtrl, RECT{20, 10, 180, 50});
    label->SetFont(font.get());
    label->SetText(L"HIH", FALSE);
    label->SetTextColor(RGB(255, 255, 255), FALSE);
    label->SetShadowColor(RGB(255, 0, 0));
    label->SetOutlineColor(RGB(0, 0, 255));
    Repaint();
    std::vector<DWORD> pixels = Pixels(area);

    // Only the white text has green; the blue outline reaches exactly one pixel beyond it on every side.
    RECT text = BoundingBox(pixels, area, [](DWORD p) { return PixelGreen(p) >= 128; });
    RECT ink = BoundingBox(pixels, area, [](DWORD p) { return PixelAlpha(p) >= 128; });
    ASSERT_LT(text.left, text.right);
    RECT grown{text.left - 1, text.top - 1, text.right + 1, text.bottom + 1};
    EXPECT_TRUE(::EqualRect(&ink, &grown));
    EXPECT_TRUE(
        std::any_of(pixels.begin(), pixels.end(), [](DWORD p) { return PixelBlue(p) > 200 && PixelRed(p) < 40; }));
    EXPECT_TRUE(std::none_of(pixels.begin(), pixels.end(), [](DWORD p) { return PixelRed(p) > PixelGreen(p) + 8; }));

    // Without an outline the shadow shows, one pixel lower.
    label->SetOutlineColor(static_cast<COLORREF>(-1));
    Repaint();
    pixels = Pixels(area);
    RECT shadow = BoundingBox(pixels, area, [](DWORD p) { return PixelRed(p) > PixelGreen(p) + 100; });
    text = BoundingBox(pixels, area, [](DWORD p) { return PixelGreen(p) >= 128; });
    EXPECT_EQ(shadow.bottom, text.bottom + 1);
    EXPECT_EQ(shadow.left, text.left);
}

TEST_F(DrawnControls, CalendarCellFillsTheSelectionAndPaintsBadgesInTheirColours) {
    // Inside a group, so the cells also show the group's origin is honoured.
    auto* group = Add(new CLayerControlGroup, RECT{20, 20, 200, 120});
    auto* rest = Add(new CLayerCalendarItemCtrl, RECT{10, 10, 60, 60}, 11, group);
    auto* work = Add(new CLayerCalendarItemCtrl, RECT{70, 10, 120, 60}, 12, group);
    Gdiplus::Font small(InstalledTrueTypeFace().c_str(), 12.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    for (CLayerCalendarItemCtrl* cell : {rest, work}) {
        cell->SetMainFont(font.get());
        cell->SetSubFont(&small);
        cell->SetBadgeFont(&small);
        cell->SetMainText(L"8", FALSE);
        cell->SetMainTextColor(RGB(0, 0, 0), FALSE);
    }
    rest->SetSelected(true, FALSE);
    rest->SetBadge(CLayerCalendarItemCtrl::kBadgeRest, FALSE);
    work->SetBadge(CLayerCalendarItemCtrl::kBadgeWork, FALSE);
    Repaint();

    // Cells at window (30, 30) and (90, 30); badges at right - 16 .. right - 1, top .. top + 15.
    ExpectFill(Pixel(32, 78), 0x6070F3);
    EXPECT_EQ(PixelAlpha(Pixel(92, 78)), 0);
    ExpectFill(Pixel(64, 30), 0x1EBB68, true);
    ExpectFill(Pixel(124, 30), 0x2CA2F5);
    // Right of the badge the selection shows, left of the other badge nothing.
    ExpectFill(Pixel(79, 31), 0x6070F3);
    EXPECT_EQ(PixelAlpha(Pixel(123, 31)), 0);
    EXPECT_EQ(PixelAlpha(Pixel(139, 31)), 0);
    // The badge character is white on the badge.
    std::vector<DWORD> badge = Pixels(RECT{124, 30, 139, 45});
    EXPECT_TRUE(std::any_of(badge.begin(), badge.end(), [](DWORD p) { return PixelBlue(p) > 200; }));

    // Clicking reports only when the cell is interactive.
    Click(40, 40);
    EXPECT_TRUE(wnd.commands.empty());
    rest->SetInteractive(TRUE);
    Click(40, 40);
    EXPECT_EQ(wnd.commands, (std::vector<std::pair<int, LPARAM>>{{11, 0}}));
}

TEST_F(DrawnControls, PictureFileWinsOverTheSkinImageWhileItLoads) {
    CTempPng file(L"picture");
    {
        Gdiplus::Bitmap bitmap(20, 10, PixelFormat32bppARGB);
        Gdiplus::Graphics(&bitmap).Clear(Gdiplus::Color(255, 0, 200, 0));
        ASSERT_TRUE(file.Save(bitmap));
    }
    std::unique_ptr<CImage> skin = MakeStrip({RGB(200, 0, 0)}, 40, 30);
    auto* picture = new CLayerImageCtrl;
    picture->Create(wnd.m_hWnd, &wnd, 1, RECT{10, 10, 20, 20}, CLayerImageCtrl::kStyleFitImage);
    wnd.GetRootView()->AddChild(picture);
    picture->SetDrawMode(CLayerImageCtrl::kDrawTopLeft);
    picture->SetImage(skin.get(), FALSE);
    RECT rect{};
    picture->GetRect(&rect);
    EXPECT_EQ(rect.right, 50);
    EXPECT_EQ(rect.bottom, 40);

    picture->SetImageFile(file.path, FALSE, FALSE);
    EXPECT_TRUE(picture->HasFileImage());
    Repaint();
    // Only the file image is drawn, at its own size.
    EXPECT_EQ(Pixel(15, 15), 0xFF00C800u);
    EXPECT_EQ(Pixel(35, 15), 0u);

    // A path that is missing leaves the skin image showing.
    picture->SetImageFile(file.path + L".missing", FALSE, TRUE);
    PumpMessages();
    EXPECT_FALSE(picture->HasFileImage());
    EXPECT_EQ(Pixel(15, 15), 0xFFC80000u);
}

TEST_F(DrawnControls, LineIsOpaqueAndPlacedInItsParentsCoordinates) {
    auto* group = Add(new CLayerControlGroup, RECT{20, 20, 200, 120});
    // The rect only has to cover the line: painting is culled by it.
    auto* line = Add(new CLayerLine, RECT{0, 0, 120, 20}, 3, group);
    line->SetPoints(POINT{0, 10}, POINT{100, 10}, FALSE);
    line->SetColor(RGB(0, 0, 255), FALSE);
    line->SetWidth(2, FALSE);
    Repaint();

    // A 2-pixel line centred on y 10 covers rows 9 and 10 of the group, 29 and 30 of the window.
    EXPECT_EQ(Pixel(70, 29), 0xFF0000FFu);
    EXPECT_EQ(Pixel(70, 30), 0xFF0000FFu);
    EXPECT_EQ(PixelAlpha(Pixel(70, 27)), 0);
    EXPECT_EQ(PixelAlpha(Pixel(130, 30)), 0);
}
