#include "layer/SkinRegistry.h"

#include "SkinTestSupport.h"

#include <string>

namespace {

// Pixel sizes and frame counts of the skin pictures, by id; 0 x 0 marks an id registered without a picture.
struct ExpectedImage {
    int id;
    int width;
    int height;
    int frames;
};

constexpr ExpectedImage kExpected[] = {
    {1001, 387, 475, 1}, {1002, 0, 0, 1},     {1003, 385, 473, 1}, {1004, 385, 473, 1}, {1005, 387, 475, 1},
    {1006, 387, 475, 1}, {1007, 387, 443, 1}, {1008, 0, 0, 1},     {1009, 385, 441, 1}, {1010, 385, 441, 1},
    {1011, 387, 443, 1}, {1012, 387, 443, 1}, {1013, 371, 32, 1},  {1014, 0, 0, 1},     {1015, 371, 32, 1},
    {1016, 371, 32, 1},  {1017, 371, 32, 1},  {1018, 371, 32, 1},  {1019, 37, 29, 1},   {1020, 41, 29, 1},
    {1021, 40, 29, 1},   {1022, 42, 29, 1},   {1023, 40, 29, 1},   {1024, 40, 29, 1},   {1025, 38, 29, 1},
    {1026, 41, 29, 1},   {1027, 40, 29, 1},   {1028, 60, 29, 1},   {1029, 60, 29, 1},   {1030, 60, 29, 1},
    {1031, 26, 17, 2},   {1032, 75, 17, 1},   {1033, 44, 11, 4},   {1034, 13, 15, 1},   {1035, 13, 15, 1},
    {1036, 371, 1, 1},   {1037, 389, 338, 1}, {1038, 389, 338, 1}, {1039, 389, 337, 1}, {1040, 387, 336, 1},
    {1041, 389, 172, 1}, {1042, 389, 172, 1}, {1043, 389, 172, 1}, {1044, 387, 170, 1}, {1045, 389, 309, 1},
    {1046, 389, 309, 1}, {1047, 389, 308, 1}, {1048, 387, 307, 1}, {1049, 389, 143, 1}, {1050, 389, 143, 1},
    {1051, 389, 143, 1}, {1052, 387, 141, 1}, {1053, 371, 29, 1},  {1054, 371, 29, 1},  {1055, 371, 29, 1},
    {1056, 371, 29, 1},  {1057, 88, 9, 8},    {1058, 53, 17, 1},   {1059, 13, 13, 1},   {1060, 103, 109, 1},
    {1061, 103, 109, 1}, {1062, 103, 109, 1}, {1063, 103, 109, 1}, {1064, 103, 109, 1}, {1065, 31, 25, 1},
    {1066, 31, 25, 1},   {1067, 31, 25, 1},   {1068, 31, 25, 1},   {1069, 31, 25, 1},   {1070, 33, 10, 3},
    {1071, 300, 240, 1}, {1072, 300, 264, 1}, {1073, 273, 24, 1},  {1074, 48, 6, 8},    {1075, 273, 32, 1},
    {1076, 112, 29, 4},  {1077, 267, 166, 1}, {1078, 265, 159, 1}, {1079, 266, 159, 1}, {1080, 265, 159, 1},
    {1081, 292, 26, 4},  {1082, 63, 63, 1},   {1083, 36, 36, 1},   {1084, 36, 36, 1},   {1085, 36, 36, 1},
    {1086, 63, 63, 1},   {1087, 63, 63, 1},   {1088, 245, 190, 1}, {1089, 48, 42, 1},   {1090, 154, 6, 1},
    {1091, 154, 6, 1},   {1092, 210, 18, 3},  {1093, 237, 27, 3},  {1094, 310, 129, 1}, {1095, 84, 28, 3},
    {1096, 51, 17, 3},   {1097, 51, 17, 3},   {1098, 68, 17, 4},   {1099, 88, 11, 8},   {1100, 272, 20, 4},
    {1101, 51, 17, 3},   {1102, 110, 188, 1}, {1103, 412, 35, 4},  {1104, 412, 35, 4},  {1105, 286, 215, 1},
    {1106, 124, 24, 4},  {1107, 256, 30, 1},  {1108, 368, 31, 4},
};

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

TEST_F(SkinRegistryTest, EveryImageLoadsAtItsSizeAndFrameCountAndIsHandedOutOnce) {
    for (const ExpectedImage& expected : kExpected) {
        SCOPED_TRACE(expected.id);
        CImage* image = m_registry.GetImage(expected.id);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->IsValid(), expected.width != 0);
        EXPECT_EQ(image->GetWidth(), expected.width);
        EXPECT_EQ(image->GetHeight(), expected.height);
        EXPECT_EQ(image->GetFrameCount(), expected.frames);
        EXPECT_EQ(m_registry.GetImage(expected.id), image);
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
