#include "layer/SkinRegistry.h"

#include "SkinTestSupport.h"

#include <set>
#include <string>

namespace {

// Ids registered without a picture.
const std::set<int> kWithoutPicture = {1002, 1008, 1014};

class SkinRegistryTest : public CGdiplusTest {
protected:
    void SetUp() override {
        CGdiplusTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        m_resources = OpenDesklingResources();
        ASSERT_TRUE(m_resources) << "deskling.exe is built beside the tests";
        m_registry.SetResourceModule(m_resources.Get());
        m_face = InstalledTrueTypeFace();
        ASSERT_FALSE(m_face.empty());
        m_registry.RegisterSkin(m_face);
    }

    CModule m_resources;
    std::wstring m_face;
    CSkinRegistry m_registry;
};

// Every id from 1001 to 1108 is registered; the sizes and frame counts of a few pictures that other code
// measures by pin the resources behind the ids.
TEST_F(SkinRegistryTest, EveryImageLoadsAndIsHandedOutOnce) {
    for (int id = 1001; id <= 1108; ++id) {
        SCOPED_TRACE(id);
        CImage* image = m_registry.GetImage(id);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->IsValid(), kWithoutPicture.count(id) == 0);
        EXPECT_EQ(m_registry.GetImage(id), image);
    }
    const struct {
        int id, width, height, frames;
    } sizes[] = {{1001, 387, 475, 1}, {1033, 44, 11, 4}, {1077, 267, 166, 1}, {1082, 63, 63, 1}, {1094, 310, 129, 1}};
    for (const auto& size : sizes) {
        CImage* image = m_registry.GetImage(size.id);
        EXPECT_EQ(image->GetWidth(), size.width) << size.id;
        EXPECT_EQ(image->GetHeight(), size.height) << size.id;
        EXPECT_EQ(image->GetFrameCount(), size.frames) << size.id;
    }
    EXPECT_EQ(m_registry.GetImage(1000), nullptr);
    EXPECT_EQ(m_registry.GetImage(1109), nullptr);
}

TEST_F(SkinRegistryTest, SecondRegistrationKeepsTheFirst) {
    EXPECT_FALSE(m_registry.AddImage(1076, 117, 1));
    EXPECT_FALSE(m_registry.AddFont(1003, m_face, 40, Gdiplus::FontStyleBold));
    EXPECT_TRUE(m_registry.AddImage(2000, 117, 2));
    EXPECT_FALSE(m_registry.AddImage(2000, 118, 1));

    EXPECT_EQ(m_registry.GetImage(1076)->GetFrameCount(), 4);
    EXPECT_FLOAT_EQ(m_registry.GetFont(1003)->GetSize(), 12.0f);
    // The extra id keeps its first resource (the calendar frame) and frame count.
    CImage* extra = m_registry.GetImage(2000);
    EXPECT_EQ(extra->GetWidth(), 387);
    EXPECT_EQ(extra->GetFrameCount(), 2);
}

TEST_F(SkinRegistryTest, FontsCarrySizeStyleAndPixelUnitInTheChosenFace) {
    const struct {
        int id;
        float size;
        int style;
    } fonts[] = {{1001, 8, Gdiplus::FontStyleRegular},
                 {1005, 12, Gdiplus::FontStyleUnderline},
                 {1022, 79, Gdiplus::FontStyleRegular}};
    for (const auto& expected : fonts) {
        SCOPED_TRACE(expected.id);
        Gdiplus::Font* font = m_registry.GetFont(expected.id);
        ASSERT_NE(font, nullptr);
        EXPECT_FLOAT_EQ(font->GetSize(), expected.size);
        EXPECT_EQ(font->GetStyle(), expected.style);
        EXPECT_EQ(font->GetUnit(), Gdiplus::UnitPixel);
        EXPECT_EQ(m_registry.GetFont(expected.id), font);
    }
    EXPECT_EQ(m_registry.GetFont(1002), nullptr);
    EXPECT_EQ(m_registry.GetFont(1023), nullptr);

    Gdiplus::FontFamily family;
    ASSERT_EQ(m_registry.GetFont(1003)->GetFamily(&family), Gdiplus::Ok);
    wchar_t name[LF_FACESIZE] = {};
    family.GetFamilyName(name);
    EXPECT_EQ(std::wstring(name), m_face);
}

TEST_F(SkinRegistryTest, MissingFaceOrReleaseLeavesNothingToHandOut) {
    CSkinRegistry lacking;
    lacking.RegisterSkin(L"No Such Face Anywhere");
    EXPECT_EQ(lacking.GetFont(1003), nullptr);

    ASSERT_NE(m_registry.GetImage(1001), nullptr);
    ASSERT_NE(m_registry.GetFont(1003), nullptr);
    m_registry.ReleaseSkin();
    EXPECT_EQ(m_registry.GetImage(1001), nullptr);
    EXPECT_EQ(m_registry.GetFont(1003), nullptr);
}

} // namespace
