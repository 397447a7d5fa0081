#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/shell/ForwardedCommandLine.h"

TEST(ForwardedCommandLine, EndsAtTheFirstNulOrTheLastWholeCharacter) {
    const std::u16string source(u"C:\\桌面\\a.exe /weather\0/exit", 26);
    std::vector<unsigned char> bytes(source.size() * 2);
    std::memcpy(bytes.data(), source.data(), bytes.size());
    const struct {
        size_t bytes;
        const wchar_t* text;
    } rows[] = {
        {bytes.size(), L"C:\\桌面\\a.exe /weather"}, {10, L"C:\\桌面"}, {11, L"C:\\桌面"}, {1, L""}, {0, L""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes);
        EXPECT_EQ(ForwardedCommandLineText(bytes.data(), row.bytes), row.text);
    }
    EXPECT_EQ(ForwardedCommandLineText(nullptr, 100), L"");
}
