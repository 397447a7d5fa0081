#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/base/CommandLineText.h"

// The splitter must agree with the system's own on every rule a sender could play with: the program path's
// quotes without escapes, runs of backslashes before quotes, doubled and tripled quotes in and out of groups,
// tabs, empty groups and a text cut by a NUL. (The command-line fuzzer checks that what it quotes splits back.)
TEST(CommandLineText, SplitsAsTheSystemDoes) {
    const wchar_t* lines[] = {
        L"x.exe",
        L"\"C:\\a b\\x.exe\" /weather",
        L"\"C:\\a b\\x.exe\"/weather \"\"",
        L"\"unclosed path /weather",
        L"C:\\a\\\"x.exe /a",
        L" /leading",
        L"x.exe \t /a\t\"b c\"  ",
        L"x.exe a\\\\b \"a\\\\\" \\\\\\\"c \\\\\\\\\"d e\"",
        L"x.exe \"a\"\"b\" \"\"\"c\"\"\" \"\"\"\" \"\"\"\"\"\" d\"\"\"e",
        L"x.exe \\\"\" \"\\\"\"\"\" \"a \\",
        L"x.exe \"/news= a=b \" \"\" /calendar\"",
    };
    for (const wchar_t* line : lines) {
        int count = 0;
        LPWSTR* argv = ::CommandLineToArgvW(line, &count);
        ASSERT_NE(argv, nullptr);
        const std::vector<std::wstring> system(argv, argv + count);
        ::LocalFree(argv);
        EXPECT_EQ(SplitCommandLine(line), system) << line;
    }

    const std::wstring cut(L"x.exe /a\0/exit", 14);
    EXPECT_EQ(SplitCommandLine(cut), (std::vector<std::wstring>{L"x.exe", L"/a"}));
}
