#include "layer/FontFace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t kYaHeiChinese[] = L"\x5FAE\x8F6F\x96C5\x9ED1";
const wchar_t kSongTi[] = L"\x5B8B\x4F53";
const wchar_t kMingLiU[] = L"\x65B0\x7D30\x660E\x9AD4";

// Reports a fixed list of families and counts how many the chooser looked at.
struct FakeFamilies {
    std::vector<std::wstring> names;
    int visited = 0;

    CFontFace::FaceEnumerator Enumerator() {
        return [this](const std::function<bool(const wchar_t*)>& visit) {
            for (const std::wstring& name : names) {
                ++visited;
                if (!visit(name.c_str())) {
                    return;
                }
            }
        };
    }
};

std::wstring Choose(std::vector<std::wstring> names) {
    FakeFamilies families{std::move(names)};
    CFontFace face;
    face.ChooseFace(families.Enumerator());
    return face.GetFaceName();
}

TEST(FontFaceTest, PicksByPriorityAmongFacesWhoseNamesMatchExactly) {
    EXPECT_EQ(Choose({L"Tahoma", L"Microsoft YaHei"}), L"Microsoft YaHei");
    EXPECT_EQ(Choose({L"Tahoma"}), L"Tahoma");
    EXPECT_EQ(Choose({L"Tahoma", kMingLiU}), kMingLiU);
    EXPECT_EQ(Choose({kMingLiU, kSongTi, L"Arial"}), kSongTi);
    EXPECT_EQ(Choose({kSongTi, L"Microsoft YaHei UI"}), L"Microsoft YaHei UI");
    EXPECT_EQ(Choose({L"Microsoft YaHei UI", L"Microsoft YaHei"}), L"Microsoft YaHei");
    EXPECT_EQ(Choose({L"Microsoft YaHei", kYaHeiChinese, L"Tahoma"}), kYaHeiChinese);
    EXPECT_EQ(Choose({L"tahoma", L"Microsoft YaHei Light", L"Microsoft YaHei UI Bold", L"Arial"}), L"");
}

TEST(FontFaceTest, RecordsFoundFacesAndMakesTheFont) {
    FakeFamilies families{{L"Arial", L"Tahoma", kSongTi}};
    CFontFace face;
    face.ChooseFace(families.Enumerator());
    EXPECT_EQ(face.GetFoundFaces(), static_cast<DWORD>(CFontFace::kTahoma | CFontFace::kSongTi));
    ASSERT_NE(face.GetFont(), nullptr);
    LOGFONTW font = {};
    ASSERT_EQ(::GetObjectW(face.GetFont(), sizeof(font), &font), static_cast<int>(sizeof(font)));
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    EXPECT_STREQ(font.lfFaceName, kSongTi);
}

} // namespace
