#include "layer/LayerCanvas.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "layer/Image.h"
#include "layer/LayerText.h"
#include "layer/LayerTextCache.h"
#include "tests/unit/layer/SkinTestSupport.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 56;
constexpr DWORD kFillAlpha = 0xFEu << 24;

// A fully transparent bottom-up 32-bit DIB selected into its own memory DC, as the window bitmap is.
struct CSurface {
    CSurface() : dc(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
        select.emplace(dc.Get(), bitmap.Get());
    }
    DWORD At(int x, int y) const {
        ::GdiFlush();
        return bits[(kHeight - 1 - y) * kWidth + x];
    }

    CMemoryDC dc;
    CBitmapHandle bitmap;
    DWORD* bits = nullptr;
    std::optional<CSelectObject> select;
};

int Channel(DWORD pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

class LayerCanvas : public CGdiplusTest {
protected:
    void SetUp() override {
        CGdiplusTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        std::wstring face = InstalledTrueTypeFace();
        ASSERT_FALSE(face.empty());
        m_font = std::make_unique<Gdiplus::Font>(face.c_str(), 14.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        // A translucent picture: every pixel a different colour and opacity.
        auto* bitmap = new Gdiplus::Bitmap(8, 6, PixelFormat32bppARGB);
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 8; ++x) {
                bitmap->SetPixel(x, y,
                                 Gdiplus::Color(static_cast<BYTE>(40 + 25 * x), static_cast<BYTE>(30 * y), 200,
                                                static_cast<BYTE>(20 * x)));
            }
        }
        ASSERT_TRUE(m_image.Attach(bitmap));
    }

    // A control's drawing as the group paints it: moved by a viewport origin and clipped on the DC.
    void DrawScene(HDC dc) {
        int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, 0, 0, 50, kHeight);
        ::OffsetViewportOrgEx(dc, 6, 4, nullptr);
        FillLayerRect(dc, RECT{0, 0, 30, 12}, RGB(200, 100, 50));
        DrawLayerText(dc, L"Ag 12", m_font.get(), RECT{3, 10, 58, 32}, RGB(255, 255, 255), RGB(0, 0, 0), 0);
        // Unclipped, so the outlined text runs below its flat rectangle.
        DrawLayerOutlinedText(dc, L"Wide", m_font.get(), RECT{0, 34, 40, 40}, RGB(255, 220, 0), RGB(0, 0, 160), 0x0400);
        // At its own size (crossing the DC's clip) and scaled.
        m_image.Draw(dc, 40, 14, 8, 6, RECT{0, 0, 8, 6});
        m_image.DrawFrame(dc, 20, 0, 16, 12, 0);
        ::RestoreDC(dc, saved);
    }

    std::unique_ptr<Gdiplus::Font> m_font;
    CImage m_image;
};

// Through the canvas (texts rendered ahead, pictures and fills laid into the bits) the pixels are those a
// graphics made on the DC leaves: premultiplied at the fill alpha over transparency, text edges partly
// transparent, the DC's origin and clip obeyed; and so at twice the scale, as a window at 200 % draws.
TEST_F(LayerCanvas, DrawsTheSamePixelsAsAGraphicsOnTheDC) {
    for (FLOAT scale : {1.0f, 2.0f}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        CSurface plain;
        CSurface shared;
        ASSERT_TRUE(plain.bits && shared.bits);
        const XFORM world{scale, 0, 0, scale, 0, 0};
        for (HDC dc : {plain.dc.Get(), shared.dc.Get()}) {
            ::SetGraphicsMode(dc, GM_ADVANCED);
            ::SetWorldTransform(dc, &world);
        }
        DrawScene(plain.dc.Get());
        {
            CLayerCanvas canvas(shared.dc.Get(), shared.bitmap.Get());
            ASSERT_TRUE(canvas.IsActive());
            ASSERT_EQ(CLayerCanvas::PixelDpi(shared.dc.Get()), static_cast<int>(96 * scale));
            DrawScene(shared.dc.Get());
        }
        int edges = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                DWORD expected = plain.At(x, y);
                DWORD actual = shared.At(x, y);
                // The bits are blended with rounding where Wine's graphics library truncates at every layer, so
                // where layers meet (a picture over a fill, an outline's passes) the two differ by a few levels;
                // a missing or misplaced layer differs by far more.
                for (int shift : {0, 8, 16, 24}) {
                    ASSERT_LE(std::abs(Channel(expected, shift) - Channel(actual, shift)), 4)
                        << std::hex << expected << " " << actual << " at " << std::dec << x << "," << y;
                }
                for (int shift : {0, 8, 16}) {
                    ASSERT_LE(Channel(actual, shift), Channel(actual, 24)) << "not premultiplied at " << x << "," << y;
                }
                int alpha = Channel(actual, 24);
                edges += alpha > 0 && alpha < 254;
            }
        }
        EXPECT_EQ(Channel(shared.At(6, 4), 24), 254);
        EXPECT_EQ(shared.At(5, 4), 0u);
        const int beyondClip = static_cast<int>(50 * scale) + 2;
        if (beyondClip < kWidth) {
            EXPECT_EQ(shared.At(beyondClip, 30), 0u) << "drawn outside the DC's clip";
        }
        EXPECT_GT(edges, 0) << "no anti-aliased text edge";
    }
}

// A DC other than the canvas's draws into its own bitmap while the canvas is active.
TEST_F(LayerCanvas, OtherDCsDrawOnTheirOwn) {
    CSurface surface;
    CSurface other;
    ASSERT_TRUE(surface.bits && other.bits);
    {
        CLayerCanvas canvas(surface.dc.Get(), surface.bitmap.Get());
        FillLayerRect(other.dc.Get(), RECT{2, 2, 10, 10}, RGB(0, 255, 0));
    }
    EXPECT_EQ(surface.At(5, 5), 0u);
    EXPECT_EQ(other.At(5, 5), kFillAlpha | (0xFEu << 8));
}

// Texts rendered ahead are kept within a bound: a stream of distinct texts does not grow the cache.
TEST_F(LayerCanvas, TextCacheStaysBounded) {
    CSurface surface;
    CLayerCanvas canvas(surface.dc.Get(), surface.bitmap.Get());
    for (int i = 0; i < 200; ++i) {
        DrawLayerText(surface.dc.Get(), L"line " + std::to_wstring(i), m_font.get(), RECT{0, 0, 300, 60},
                      RGB(255, 255, 255), kNoColor, 0);
    }
    size_t bytes = CLayerTextCache::ForThisThread().ByteCount();
    EXPECT_GT(bytes, 0u);
    EXPECT_LE(bytes, 4u << 20);
    int inked = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            inked += surface.At(x, y) != 0;
        }
    }
    EXPECT_GT(inked, 20) << "the texts were not drawn";
}

} // namespace
