#include "layer/Image.h"

#include "SkinTestSupport.h"

#include <string>

namespace {

// {557CF406-1A04-11D3-9A73-0000F81EF32E}: the PNG encoder of GDI+.
const CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

const Gdiplus::Color kFrameColours[] = {Gdiplus::Color(255, 200, 0, 0), Gdiplus::Color(255, 0, 200, 0),
                                        Gdiplus::Color(255, 0, 0, 200), Gdiplus::Color(255, 200, 200, 0)};

class ImageTest : public CGdiplusTest {
protected:
    void SetUp() override {
        CGdiplusTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        wchar_t folder[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, folder);
        m_path = std::wstring(folder) + L"deskling_image_test_" + std::to_wstring(::GetCurrentProcessId()) + L".png";
    }
    void TearDown() override { ::DeleteFileW(m_path.c_str()); }

    // A 112 x 29 strip of four solid frames, one colour each.
    void WriteStrip() {
        Gdiplus::Bitmap strip(112, 29, PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(&strip);
        for (int k = 0; k < 4; ++k) {
            Gdiplus::SolidBrush brush(kFrameColours[k]);
            graphics.FillRectangle(&brush, k * 28, 0, 28, 29);
        }
        ASSERT_EQ(strip.Save(m_path.c_str(), &kPngEncoder, nullptr), Gdiplus::Ok);
    }

    std::wstring m_path;
};

// Draws one frame 1:1 into a cleared 32-bit bitmap and returns the pixel at its centre (0x00RRGGBB).
DWORD DrawnFrameCentre(const CImage& image, int frame) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 28;
    info.bmiHeader.biHeight = -29;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    CBitmapHandle bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    CMemoryDC dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) {
        return 0xFFFFFFFF;
    }
    CSelectObject select(dc.Get(), bitmap.Get());
    image.DrawFrame(dc.Get(), 0, 0, 28, 29, frame);
    ::GdiFlush();
    return static_cast<const DWORD*>(bits)[14 * 28 + 14] & 0x00FFFFFF;
}

TEST_F(ImageTest, StripOfFourFramesSplitsIntoEqualSlices) {
    WriteStrip();
    CImage image;
    ASSERT_TRUE(image.LoadFromFile(m_path.c_str()));
    image.SetFrameCount(4);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(image.GetWidth(), 112);
    EXPECT_EQ(image.GetHeight(), 29);
    EXPECT_EQ(image.GetFrameWidth(), 28);

    EXPECT_EQ(DrawnFrameCentre(image, 0), 0xC80000u);
    EXPECT_EQ(DrawnFrameCentre(image, 2), 0x0000C8u);
    EXPECT_EQ(DrawnFrameCentre(image, 3), 0xC8C800u);
}

TEST_F(ImageTest, FrameCountBelowOneCountsAsOne) {
    WriteStrip();
    CImage image;
    ASSERT_TRUE(image.LoadFromFile(m_path.c_str()));
    image.SetFrameCount(0);
    EXPECT_EQ(image.GetFrameCount(), 1);
    EXPECT_EQ(image.GetFrameWidth(), 112);
    image.SetFrameCount(-3);
    EXPECT_EQ(image.GetFrameWidth(), 112);
}

TEST_F(ImageTest, FailedLoadsLeaveAnEmptyImage) {
    WriteStrip();
    CImage image;
    ASSERT_TRUE(image.LoadFromFile(m_path.c_str()));
    EXPECT_FALSE(image.LoadFromFile((m_path + L".missing").c_str()));
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.GetWidth(), 0);

    ASSERT_TRUE(image.LoadFromFile(m_path.c_str()));
    EXPECT_FALSE(image.LoadFromResource(147, L"PNG"));
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.GetHeight(), 0);
    // Drawing an empty image touches nothing.
    EXPECT_EQ(DrawnFrameCentre(image, 0), 0u);
}

TEST_F(ImageTest, FreeEmptiesTheImage) {
    WriteStrip();
    CImage image;
    ASSERT_TRUE(image.LoadFromFile(m_path.c_str()));
    image.Free();
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.GetBitmap(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
}

} // namespace
