#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/ForwardedCommandLine.h"

namespace {

std::vector<unsigned char> Utf16Bytes(const std::u16string& s) {
    std::vector<unsigned char> bytes(s.size() * 2);
    std::memcpy(bytes.data(), s.data(), bytes.size());
    return bytes;
}

} // namespace

TEST(ForwardedCommandLine, StopsAtTheFirstNul) {
    auto bytes = Utf16Bytes(std::u16string(u"a.exe /weather\0/exit", 20));
    EXPECT_EQ(ForwardedCommandLineText(bytes.data(), bytes.size()), L"a.exe /weather");
}

TEST(ForwardedCommandLine, TextWithoutNulEndsWithTheByteCount) {
    auto bytes = Utf16Bytes(u"/news/calendar");
    EXPECT_EQ(ForwardedCommandLineText(bytes.data(), 10), L"/news");
    // An odd count leaves half a character, which is not part of the text.
    EXPECT_EQ(ForwardedCommandLineText(bytes.data(), 11), L"/news");
}

TEST(ForwardedCommandLine, EmptyAndMissingData) {
    auto bytes = Utf16Bytes(u"x");
    EXPECT_EQ(ForwardedCommandLineText(bytes.data(), 0), L"");
    EXPECT_EQ(ForwardedCommandLineText(bytes.data(), 1), L"");
    EXPECT_EQ(ForwardedCommandLineText(nullptr, 100), L"");
}

TEST(ForwardedCommandLine, KeepsNonAsciiText) {
    auto bytes = Utf16Bytes(u"C:\\桌面\\deskling.exe /calendar");
    std::wstring text = ForwardedCommandLineText(bytes.data(), bytes.size());
    ASSERT_EQ(text.size(), 28u);
    EXPECT_EQ(text[3], static_cast<wchar_t>(0x684C));
}
