#include "net/JsonReader.h"

#include <cJSON.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using JsonPtr = std::unique_ptr<cJSON, decltype(&cJSON_Delete)>;

JsonPtr Parse(const char* text) {
    return JsonPtr(cJSON_Parse(text), &cJSON_Delete);
}

} // namespace

TEST(JsonReaderTest, KeysMatchInAnyLetterCaseAndTypesMatchExactly) {
    JsonPtr root = Parse(R"({"date": 20240101, "Name": "abc", "count": "5", "flag": true, "none": null,
                             "ratio": -7.9, "big": 1e12})");
    ASSERT_TRUE(root);
    EXPECT_EQ(JsonGetInt(root.get(), "Date", -1), 20240101);
    EXPECT_EQ(JsonGetText(root.get(), "NAME", ""), "abc");
    EXPECT_EQ(JsonGetInt(root.get(), "count", -1), -1) << "a number in quotes is a string";
    EXPECT_EQ(JsonGetInt(root.get(), "flag", -1), -1);
    EXPECT_EQ(JsonGetText(root.get(), "date", "d"), "d");
    EXPECT_EQ(JsonGetInt(root.get(), "ratio", 0), -7) << "the fraction is cut off";
    EXPECT_EQ(JsonGetInt(root.get(), "big", 0), 2147483647);
    EXPECT_EQ(JsonGetInt(root.get(), static_cast<const char*>(nullptr), 42), 42);
    EXPECT_EQ(JsonGetWideText(nullptr, "name", L"d", kJsonCodePageUtf8), L"d");
}

TEST(JsonReaderTest, IndicesOutsideTheArrayReadAsTheDefault) {
    JsonPtr list = Parse(R"([3, "x"])");
    ASSERT_TRUE(list);
    EXPECT_EQ(JsonGetText(list.get(), 1, ""), "x");
    EXPECT_EQ(JsonGetInt(list.get(), 2, -1), -1);
    EXPECT_EQ(JsonGetWideText(list.get(), 2, L"d", kJsonCodePageUtf8), L"d");
    EXPECT_EQ(JsonGetInt(list.get(), -1, -1), -1);
}

TEST(JsonReaderTest, Utf8BecomesTheSameWideCharacters) {
    // "北京市朝阳区" and a character outside the basic plane, written as raw UTF-8 bytes.
    JsonPtr root = Parse("{\"city\": \"\xE5\x8C\x97\xE4\xBA\xAC\xE5\xB8\x82\xE6\x9C\x9D\xE9\x98\xB3\xE5\x8C\xBA\","
                         " \"rare\": [\"\xF0\xA0\x80\x80\"]}");
    ASSERT_TRUE(root);
    EXPECT_EQ(JsonGetWideText(root.get(), "City", L"", kJsonCodePageUtf8), L"\u5317\u4eac\u5e02\u671d\u9633\u533a");
    EXPECT_EQ(JsonGetWideText(cJSON_GetObjectItem(root.get(), "rare"), 0, L"", kJsonCodePageUtf8), L"\U00020000");
    EXPECT_EQ(JsonGetWideText(root.get(), "city", L"d", 936), L"d") << "only UTF-8 is understood";
    // A lone continuation byte, a truncated sequence, overlong forms (a slash in two bytes, U+00A9 in three) and
    // an encoded surrogate.
    EXPECT_EQ(Utf8ToWide("a\x80z"), L"a\uFFFDz");
    EXPECT_EQ(Utf8ToWide("\xE4\xB8"), L"\uFFFD");
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), L"\uFFFD");
    EXPECT_EQ(Utf8ToWide("\xE0\x82\xA9"), L"\uFFFD");
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80!"), L"\uFFFD!");
}
