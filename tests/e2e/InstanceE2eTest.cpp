// One running instance: later processes hand their command line over and end; what they hand over
// is carried out by the first.

#include "e2e/DesklingE2eTest.h"

#include <algorithm>

namespace e2e {
namespace {

class InstanceE2eTest : public CDesklingE2eTest {
protected:
    // The companion and a first deskling with the weather widget open (so it does not end when idle).
    CChildProcess& StartFirst() {
        StartCompanion();
        CChildProcess& first = StartDeskling(L"/weather");
        EXPECT_NE(WaitForMainWindow(first), nullptr) << LogForMessage();
        return first;
    }

    // A later deskling with switches, which must hand them over and end with code 0.
    CChildProcess& ForwardFrom(const std::wstring& switches) {
        CChildProcess& second = StartDeskling(switches);
        EXPECT_TRUE(second.WaitForExit(10000)) << "the later instance did not end";
        EXPECT_EQ(second.ExitCode(), 0u);
        return second;
    }
};

TEST_F(InstanceE2eTest, LaterInstanceForwardsItsWholeCommandLineAndEnds) {
    CChildProcess& first = StartFirst();
    CChildProcess& second = ForwardFrom(L"/calendar \"/note=two words\"  /x");

    EXPECT_TRUE(WaitForLog(L"MSG_COPYDATA_CMD_LINE " + second.CommandLine() + L"\r\n", 5s)) << LogForMessage();
    EXPECT_TRUE(WaitForLog(L"widget calendar show:1", 5s)) << LogForMessage();
    EXPECT_EQ(CountInLog(L"check singleton exists, quit. comLine:" + second.CommandLine()), 1u) << LogForMessage();
    EXPECT_TRUE(first.IsRunning());
    EXPECT_EQ(FindTopLevelWindows(kMainWndClass).size(), 1u);
}

TEST_F(InstanceE2eTest, ForwardedExitEndsTheFirstInstance) {
    CChildProcess& first = StartFirst();
    ForwardFrom(L"/exit");
    EXPECT_TRUE(first.WaitForExit(3000)) << LogForMessage();
    EXPECT_EQ(first.ExitCode(), 0u);
}

TEST_F(InstanceE2eTest, ForwardedCloseSwitchesLetTheFirstEndWhenIdle) {
    CChildProcess& first = StartFirst();
    ForwardFrom(L"/closeweather");
    EXPECT_TRUE(WaitForLog(L"widget weather show:0", 5s)) << LogForMessage();
    auto closed = Clock::now();
    EXPECT_TRUE(first.WaitForExit(6000)) << LogForMessage();
    EXPECT_GT(MillisecondsSince(closed), 2000.0);
    EXPECT_EQ(first.ExitCode(), 0u);
}

TEST_F(InstanceE2eTest, ForwardedUninstallDeletesTheDataFolderAndEnds) {
    const std::wstring data = DataFolder();
    ASSERT_TRUE(EnsureFolder(data + L"\\news\\pictures"));
    ASSERT_TRUE(WriteTextFile(data + L"\\deskling.ini", "[weather]\r\ncitycode=101010100\r\n"));
    ASSERT_TRUE(WriteTextFile(data + L"\\news\\pictures\\1.png", "png"));
    ASSERT_TRUE(WriteTextFile(data + L"\\holiday.db", "{}"));
    ASSERT_TRUE(::SetFileAttributesW((data + L"\\holiday.db").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesW((data + L"\\news").c_str(), FILE_ATTRIBUTE_READONLY));

    CChildProcess& first = StartFirst();
    ForwardFrom(L"/uninstall");
    EXPECT_TRUE(first.WaitForExit(5000)) << LogForMessage();
    EXPECT_EQ(first.ExitCode(), 0u);
    EXPECT_FALSE(PathExists(data));
    // The log lives elsewhere and stays.
    EXPECT_TRUE(PathExists(LogPath()));
}

TEST_F(InstanceE2eTest, UninstallOnItsOwnCommandLineDeletesTheDataFolder) {
    ASSERT_TRUE(EnsureFolder(DataFolder() + L"\\calendar"));
    ASSERT_TRUE(WriteTextFile(DataFolder() + L"\\calendar\\holiday.db", "{}"));
    StartCompanion();
    CChildProcess& deskling = StartDeskling(L"/uninstall");
    EXPECT_TRUE(deskling.WaitForExit(8000)) << LogForMessage();
    EXPECT_EQ(deskling.ExitCode(), 0u);
    EXPECT_FALSE(PathExists(DataFolder()));
}

// Started together, the instances serialise on the guard: one keeps running with the one main
// window and carries out every switch any of them was given.
TEST_F(InstanceE2eTest, SixInstancesStartedTogetherLeaveOneWindowWithEveryWidget) {
    StartCompanion();
    const std::wstring switches[] = {L"/weather",     L"/calendar",      L"/news",
                                     L"/tempmonitor", L"/weather /news", L"/calendar /tempauto"};
    std::vector<CChildProcess*> started;
    for (const std::wstring& s : switches) {
        started.push_back(&StartDeskling(s));
    }
    auto ended = [&] {
        return std::count_if(started.begin(), started.end(), [](CChildProcess* p) { return !p->IsRunning(); });
    };
    ASSERT_TRUE(WaitUntil([&] { return ended() >= 5; }, 20s)) << ended() << " ended\n" << LogForMessage();
    EXPECT_FALSE(WaitUntil([&] { return ended() > 5; }, 500ms)) << "no instance kept running";
    for (CChildProcess* p : started) {
        if (!p->IsRunning()) {
            EXPECT_EQ(p->ExitCode(), 0u);
        } else {
            EXPECT_EQ(FindTopLevelWindows(kMainWndClass, p->Id()).size(), 1u);
        }
    }
    EXPECT_EQ(FindTopLevelWindows(kMainWndClass).size(), 1u);
    for (const wchar_t* line : {L"widget weather show:1", L"widget calendar show:1", L"widget news show:1",
                                L"tempmonitor StartMonitor autoStart:"}) {
        EXPECT_TRUE(WaitForLog(line, 5s)) << Narrow(line) << " missing\n" << LogForMessage();
    }
    EXPECT_EQ(CountInLog(L"check singleton exists, quit."), 5u) << LogForMessage();
}

} // namespace
} // namespace e2e
