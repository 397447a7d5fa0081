#include "layer/Image.h"

#include "tests/unit/layer/ControlTestWindow.h"

namespace {

class ImageTest : public CGdiplusTest {};

// Drawing a frame from a strip is checked by the button tests; these cover loading and frame geometry.
TEST_F(ImageTest, LoadedStripSplitsIntoFramesAndAFailedLoadLeavesItEmpty) {
    CTempPng file(L"image_test");
    {
        Gdiplus::Bitmap strip(112, 29, PixelFormat32bppARGB);
        Gdiplus::Graphics(&strip).Clear(Gdiplus::Color(255, 200, 0, 0));
        ASSERT_TRUE(file.Save(strip));
    }
    CImage image;
    ASSERT_TRUE(image.LoadFromFile(file.path.c_str()));
    image.SetFrameCount(4);
    EXPECT_EQ(image.GetHeight(), 29);
    EXPECT_EQ(image.GetFrameWidth(), 28);
    image.SetFrameCount(0);
    EXPECT_EQ(image.GetFrameCount(), 1);
    EXPECT_EQ(image.GetFrameWidth(), 112);

    EXPECT_FALSE(image.LoadFromFile((file.path + L".missing").c_str()));
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.GetWidth(), 0);
    ASSERT_TRUE(image.LoadFromFile(file.path.c_str()));
    EXPECT_FALSE(image.LoadFromResource(147, L"PNG"));
    EXPECT_FALSE(image.IsValid());
}

} // namespace
