// The wallpaper-application companion as deskling sees it: control window, channel id, desktop bars,
// widgets opened by starting deskling.exe, and a clean quit that deskling follows.

#include "e2e/DesklingE2eTest.h"

#include <vector>

namespace e2e {
namespace {

std::wstring ReadChannelId() {
    wchar_t value[512] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    LSTATUS status =
        ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\VexaWallPaper", L"PID", RRF_RT_REG_SZ, nullptr, value, &bytes);
    return status == ERROR_SUCCESS ? value : L"<none>";
}

using CompanionE2eTest = CDesklingE2eTest;

TEST_F(CompanionE2eTest, KeepsOneControlWindowWritesTheChannelIdAndShowsTheBarsOnRequest) {
    CChildProcess& idleQuit = Start(Quoted(CompanionExe()) + L" /quit");
    ASSERT_TRUE(idleQuit.WaitForExit(5000));
    EXPECT_EQ(idleQuit.ExitCode(), 0u) << "/quit with nothing running";

    StartCompanion(L"/channel=7788");
    EXPECT_EQ(ReadChannelId(), L"7788");
    EXPECT_EQ(VisibleBar(kSwitchBar), nullptr);
    EXPECT_EQ(VisibleBar(kFence), nullptr);
    const struct {
        const wchar_t* arguments;
        bool switchBar, fence;
    } rows[] = {{L"/fence /channel=9900", false, true}, {L" opensuperwp ", true, true}, {L"/hidebars", false, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(Narrow(row.arguments));
        PassToCompanion(row.arguments);
        EXPECT_TRUE(WaitUntil(
            [&] {
                return (VisibleBar(kSwitchBar) != nullptr) == row.switchBar &&
                       (VisibleBar(kFence) != nullptr) == row.fence;
            },
            3s));
    }
    EXPECT_EQ(ReadChannelId(), L"9900");
    EXPECT_EQ(FindTopLevelWindows(kControlWndClass).size(), 1u);

    DWORD ignored = 0, size = ::GetFileVersionInfoSizeW(CompanionExe().c_str(), &ignored);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(size && ::GetFileVersionInfoW(CompanionExe().c_str(), 0, size, block.data()));
    wchar_t* name = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\StringFileInfo\\080404b0\\OriginalFilename",
                                 reinterpret_cast<void**>(&name), &length));
    EXPECT_STREQ(name, L"Vexawpapp.exe");
}

TEST_F(CompanionE2eTest, StartsDesklingWithItsSwitchesPassesLaterOnesOnAndDesklingFollowsItsQuit) {
    CChildProcess& companion = StartCompanion(L"/weather");
    HWND mainWnd = WaitForWindow(kMainWndClass, 0, 10s);
    ASSERT_NE(mainWnd, nullptr) << LogForMessage();
    EXPECT_TRUE(WaitForLog(L"widget weather show:1", 5s)) << LogForMessage();
    DWORD desklingId = 0;
    ::GetWindowThreadProcessId(mainWnd, &desklingId);
    CKernelHandle deskling(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, desklingId));
    ASSERT_TRUE(deskling);

    PassToCompanion(L"/calendar");
    EXPECT_TRUE(WaitForCalendar(desklingId)) << LogForMessage();
    EXPECT_EQ(FindTopLevelWindows(kMainWndClass), std::vector<HWND>{mainWnd});

    PassToCompanion(L"/quit");
    ASSERT_TRUE(companion.WaitForExit(3000));
    EXPECT_EQ(companion.ExitCode(), 0u);
    auto gone = Clock::now();
    EXPECT_EQ(::WaitForSingleObject(deskling.Get(), 3000), WAIT_OBJECT_0);
    EXPECT_LT(MillisecondsSince(gone), 1500.0);
    DWORD code = 1;
    EXPECT_TRUE(::GetExitCodeProcess(deskling.Get(), &code));
    EXPECT_EQ(code, 0u);
}

} // namespace
} // namespace e2e
