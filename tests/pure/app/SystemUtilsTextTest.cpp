#include "app/SystemUtilsText.h"

#include <gtest/gtest.h>

TEST(SystemUtilsTextTest, VersionTextTurnsCommasIntoDotsAndDropsBlanks) {
    EXPECT_EQ(NormaliseVersionText(L"1, 2, 3, 4"), L"1.2.3.4");
    EXPECT_EQ(NormaliseVersionText(L" 10,0 ,\t19041, 1 "), L"10.0.19041.1");
    EXPECT_EQ(NormaliseVersionText(L"5.6.7.8"), L"5.6.7.8");
}

TEST(SystemUtilsTextTest, BrowserCommandTakesTheAddressForItsPlaceholderOrAtTheEnd) {
    const std::wstring address = L"http://example.test/a?b=1%202";
    EXPECT_EQ(BrowserCommandLine(L"\"C:\\b\\browser.exe\" -- \"%1\"", address),
              L"\"C:\\b\\browser.exe\" -- \"http://example.test/a?b=1%202\"");
    EXPECT_EQ(BrowserCommandLine(L"\"C:\\b\\browser.exe\" -osint", address),
              L"\"C:\\b\\browser.exe\" -osint http://example.test/a?b=1%202");
    // An address that itself contains "%1" is inserted once, not expanded again.
    EXPECT_EQ(BrowserCommandLine(L"b.exe %1", L"http://x/%1"), L"b.exe http://x/%1");
}

TEST(SystemUtilsTextTest, LaunchPathsResolveBesideTheModuleUnlessAbsolute) {
    const std::wstring module = L"C:\\Program Files\\Vexa\\deskling.exe";
    EXPECT_EQ(ResolveBesideModule(module, L"tool\\setup.exe"), L"C:\\Program Files\\Vexa\\tool\\setup.exe");
    EXPECT_EQ(ResolveBesideModule(module, L"D:\\other\\setup.exe"), L"D:\\other\\setup.exe");
    EXPECT_EQ(ResolveBesideModule(module, L"\\\\server\\share\\setup.exe"), L"\\\\server\\share\\setup.exe");
    EXPECT_EQ(LaunchCommandLine(L"C:\\a b\\x.exe", L"/silent"), L"\"C:\\a b\\x.exe\" /silent");
    EXPECT_EQ(LaunchCommandLine(L"C:\\x.exe", L""), L"\"C:\\x.exe\" ");
}
