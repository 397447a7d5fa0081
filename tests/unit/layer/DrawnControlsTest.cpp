#include <gtest/gtest.h>

#include <algorithm>

#include "layer/LayerImageCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "tests/unit/layer/ControlTestWindow.h"
#include "unit/app/ScratchFolder.h"

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

TEST_F(DrawnControls, PictureFileWinsOverTheSkinImageWhileItLoads) {
    CScratchFolder folder(L"picture");
    const std::wstring file = folder / L"picture.png";
    {
        Gdiplus::Bitmap bitmap(20, 10, PixelFormat32bppARGB);
        Gdiplus::Graphics(&bitmap).Clear(Gdiplus::Color(255, 0, 200, 0));
        // {557CF406-1A04-11D3-9A73-0000F81EF32E}: the PNG encoder of GDI+.
        const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
        ASSERT_EQ(bitmap.Save(file.c_str(), &png, nullptr), Gdiplus::Ok);
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

    picture->SetImageFile(file, FALSE, FALSE);
    EXPECT_TRUE(picture->HasFileImage());
    Repaint();
    // Only the file image is drawn, at its own size.
    EXPECT_EQ(Pixel(15, 15), 0xFF00C800u);
    EXPECT_EQ(Pixel(35, 15), 0u);

    // A path that is missing leaves the skin image showing.
    picture->SetImageFile(file + L".missing", FALSE, TRUE);
    PumpMessages();
    EXPECT_FALSE(picture->HasFileImage());
    EXPECT_EQ(Pixel(15, 15), 0xFFC80000u);
}
