// The wallpaper-application companion as deskling sees it: control window, channel id, desktop bars,
// widgets opened by starting deskling.exe, and a clean quit.

#include "e2e/DesklingE2eTest.h"

#include <vector>

namespace e2e {
namespace {

std::wstring ReadChannelId() {
    wchar_t value[512] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, L"Software\\VexaWallPaper", L"PID", RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS) {
        return L"<none>";
    }
    return value;
}

HWND VisibleBar(const std::wstring& title) {
    for (HWND bar : FindTopLevelWindows(kBarWndClass)) {
        if (WindowTitle(bar) == title && ::IsWindowVisible(bar)) {
            return bar;
        }
    }
    return nullptr;
}

using CompanionE2eTest = CDesklingE2eTest;

TEST_F(CompanionE2eTest, WritesTheChannelIdAndKeepsOneControlWindow) {
    StartCompanion(L"/channel=7788");
    EXPECT_EQ(ReadChannelId(), L"7788");
    // A later run hands its command over instead of making a second control window.
    CChildProcess& later = Start(Quoted(CompanionExe()) + L" /channel=9900");
    ASSERT_TRUE(later.WaitForExit(5000));
    EXPECT_EQ(later.ExitCode(), 0u);
    EXPECT_TRUE(WaitUntil([] { return ReadChannelId() == L"9900"; }, 3s)) << Narrow(ReadChannelId());
    EXPECT_EQ(FindTopLevelWindows(kControlWndClass).size(), 1u);
}

TEST_F(CompanionE2eTest, ShowsAndHidesTheDesktopBarsOnRequest) {
    StartCompanion();
    EXPECT_EQ(VisibleBar(L"VexaDirectUICls_SwitchBar"), nullptr);
    EXPECT_EQ(VisibleBar(L"VexaDTFence"), nullptr);

    Start(Quoted(CompanionExe()) + L" /fence").WaitForExit(5000);
    EXPECT_TRUE(WaitUntil([] { return VisibleBar(L"VexaDTFence") != nullptr; }, 3s));
    EXPECT_EQ(VisibleBar(L"VexaDirectUICls_SwitchBar"), nullptr);

    Start(Quoted(CompanionExe()) + L" opensuperwp ").WaitForExit(5000);
    EXPECT_TRUE(WaitUntil([] { return VisibleBar(L"VexaDirectUICls_SwitchBar") != nullptr; }, 3s));

    Start(Quoted(CompanionExe()) + L" /hidebars").WaitForExit(5000);
    EXPECT_TRUE(WaitUntil(
        [] { return VisibleBar(L"VexaDirectUICls_SwitchBar") == nullptr && VisibleBar(L"VexaDTFence") == nullptr; },
        3s));
}

TEST_F(CompanionE2eTest, StartsDesklingWithItsSwitchesAndPassesLaterOnesOn) {
    StartCompanion(L"/calendar");
    HWND mainWnd = WaitForWindow(kMainWndClass, 0, 10s);
    ASSERT_NE(mainWnd, nullptr) << LogForMessage();
    EXPECT_TRUE(WaitForLog(L"widget calendar show:1", 5s)) << LogForMessage();

    CChildProcess& later = Start(Quoted(CompanionExe()) + L" /news /tempmonitor");
    ASSERT_TRUE(later.WaitForExit(5000));
    EXPECT_EQ(later.ExitCode(), 0u);
    EXPECT_TRUE(WaitForLog(L"widget news show:1", 10s)) << LogForMessage();
    EXPECT_TRUE(WaitForLog(L"tempmonitor StartMonitor autoStart:0", 5s)) << LogForMessage();
    EXPECT_EQ(FindTopLevelWindows(kMainWndClass), std::vector<HWND>{mainWnd});
}

TEST_F(CompanionE2eTest, QuitEndsTheCompanionAndDesklingFollowsWithinASecond) {
    CChildProcess& companion = StartCompanion(L"/weather");
    ASSERT_NE(WaitForWindow(kMainWndClass, 0, 10s), nullptr) << LogForMessage();
    std::vector<DWORD> desklings = ProcessIdsNamed(L"deskling.exe");
    ASSERT_EQ(desklings.size(), 1u);
    CKernelHandle deskling(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, desklings[0]));
    ASSERT_TRUE(deskling);

    CChildProcess& quit = Start(Quoted(CompanionExe()) + L" /quit");
    ASSERT_TRUE(quit.WaitForExit(5000));
    EXPECT_EQ(quit.ExitCode(), 0u);
    ASSERT_TRUE(companion.WaitForExit(3000));
    EXPECT_EQ(companion.ExitCode(), 0u);
    auto gone = Clock::now();
    EXPECT_EQ(::WaitForSingleObject(deskling.Get(), 3000), WAIT_OBJECT_0);
    EXPECT_LT(MillisecondsSince(gone), 1500.0);
    DWORD code = 1;
    EXPECT_TRUE(::GetExitCodeProcess(deskling.Get(), &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(CompanionE2eTest, QuitWithNothingRunningEndsAtOnce) {
    CChildProcess& quit = Start(Quoted(CompanionExe()) + L" /quit");
    ASSERT_TRUE(quit.WaitForExit(5000));
    EXPECT_EQ(quit.ExitCode(), 0u);
    EXPECT_TRUE(FindTopLevelWindows(kControlWndClass).empty());
}

TEST_F(CompanionE2eTest, CarriesAVersionResource) {
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeW(CompanionExe().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(CompanionExe().c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_NE(fixed->dwFileVersionMS | fixed->dwFileVersionLS, 0u);
    wchar_t* name = nullptr;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\StringFileInfo\\080404b0\\OriginalFilename",
                                 reinterpret_cast<void**>(&name), &length));
    EXPECT_STREQ(name, L"Vexawpapp.exe");
}

} // namespace
} // namespace e2e
