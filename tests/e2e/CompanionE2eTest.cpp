// The wallpaper-application companion as deskling sees it: one control window, the channel id, desktop
// bars, widgets opened by starting deskling.exe, and a quit that deskling follows within a second.

#include "app/SystemUtils.h"
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

TEST_F(CompanionE2eTest, StartsDesklingPassesLaterArgumentsOnShowsTheBarsAndDesklingFollowsItsQuit) {
    CChildProcess& companion = StartCompanion(L"/channel=7788 /weather");
    EXPECT_EQ(ReadChannelId(), L"7788");
    HWND mainWnd = WaitForWindow(kMainWndClass, 0, 10s);
    ASSERT_NE(mainWnd, nullptr) << ReadLog();
    EXPECT_TRUE(WaitForLog(L"widget weather show:1", 5s)) << ReadLog();
    EXPECT_FALSE(VisibleBar(kSwitchBar) || VisibleBar(kFence));

    PassToCompanion(L"/channel=9900 /calendar opensuperwp");
    DWORD desklingId = 0;
    ::GetWindowThreadProcessId(mainWnd, &desklingId);
    EXPECT_TRUE(WaitForCalendar(desklingId)) << ReadLog();
    EXPECT_EQ(FindTopLevelWindows(kMainWndClass), std::vector<HWND>{mainWnd});
    EXPECT_EQ(FindTopLevelWindows(kControlWndClass).size(), 1u);
    EXPECT_EQ(ReadChannelId(), L"9900");
    EXPECT_TRUE(WaitUntil([] { return VisibleBar(kSwitchBar) && VisibleBar(kFence); }, 3s));
    PassToCompanion(L"/hidebars /fence");
    EXPECT_TRUE(WaitUntil([] { return !VisibleBar(kSwitchBar) && VisibleBar(kFence); }, 3s));

    CKernelHandle deskling(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, desklingId));
    PassToCompanion(L"/quit");
    ASSERT_TRUE(companion.WaitForExit(3000));
    EXPECT_EQ(companion.ExitCode(), 0u);
    auto gone = Clock::now();
    EXPECT_EQ(::WaitForSingleObject(deskling.Get(), 3000), WAIT_OBJECT_0);
    EXPECT_LT(MillisecondsSince(gone), 1500.0);
    DWORD code = 1;
    EXPECT_TRUE(::GetExitCodeProcess(deskling.Get(), &code) && code == 0) << code;

    std::wstring version;
    EXPECT_TRUE(GetFileVersionText(CompanionExe().c_str(), &version)) << "no version resource";
}

} // namespace
} // namespace e2e
