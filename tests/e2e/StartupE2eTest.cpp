// Start-up and the three ways the process ends by itself: no base library, no wallpaper
// application, nothing to show.

#include "e2e/DesklingE2eTest.h"

namespace e2e {
namespace {

const std::wstring kNoBaseLibraryLine = L"找不到Vexabase.dll， quit";

class StartupE2eTest : public CDesklingE2eTest {
protected:
    // A copy of deskling.exe at relativeExe below a new scratch folder; the base library, when wanted,
    // copied to relativeBase below the same folder.
    std::wstring CopyTree(const std::wstring& relativeExe, const std::wstring& relativeBase = {}) {
        std::wstring root = TempFolder(L"tree");
        std::wstring exe = root + L"\\" + relativeExe;
        EXPECT_TRUE(EnsureFolder(FolderOf(exe)));
        EXPECT_TRUE(::CopyFileW(DesklingExe().c_str(), exe.c_str(), FALSE));
        if (!relativeBase.empty()) {
            std::wstring base = root + L"\\" + relativeBase;
            EXPECT_TRUE(EnsureFolder(FolderOf(base)));
            EXPECT_TRUE(::CopyFileW((BinDir() + L"\\Vexabase.dll").c_str(), base.c_str(), FALSE));
        }
        return exe;
    }

    // Runs exe with a widget switch while the companion runs; it must end at once with code 0,
    // having logged line and never started.
    void ExpectQuitAtOnce(const std::wstring& exe, const std::wstring& line) {
        StartCompanion();
        auto start = Clock::now();
        CChildProcess& deskling = StartDeskling(L"/weather", exe);
        ASSERT_TRUE(deskling.WaitForExit(5000)) << "still running 5 s after its start";
        EXPECT_LT(MillisecondsSince(start), 3000.0);
        EXPECT_EQ(deskling.ExitCode(), 0u);
        std::wstring log = ReadLog();
        EXPECT_NE(log.find(line), std::wstring::npos) << LogForMessage();
        EXPECT_EQ(log.find(L"Started. comLine:"), std::wstring::npos) << LogForMessage();
    }
};

TEST_F(StartupE2eTest, WithoutBaseLibraryEndsAtOnceWithCodeZero) {
    ExpectQuitAtOnce(CopyTree(L"deskling.exe"), kNoBaseLibraryLine);
}

TEST_F(StartupE2eTest, BaseLibraryTwoFoldersUpIsNotLookedFor) {
    ExpectQuitAtOnce(CopyTree(L"a\\b\\deskling.exe", L"Vexabase.dll"), kNoBaseLibraryLine);
}

TEST_F(StartupE2eTest, UnloadableBaseLibraryEndsAtOnceWithCodeZero) {
    std::wstring exe = CopyTree(L"deskling.exe");
    ASSERT_TRUE(WriteTextFile(FolderOf(exe) + L"\\Vexabase.dll", "not a library"));
    ExpectQuitAtOnce(exe, L"init Vexabase.dll failed, quit");
}

TEST_F(StartupE2eTest, BaseLibraryInTheParentFolderIsFound) {
    std::wstring exe = CopyTree(L"sub\\deskling.exe", L"Vexabase.dll");
    StartCompanion();
    CChildProcess& deskling = StartDeskling(L"/weather", exe);
    EXPECT_NE(WaitForMainWindow(deskling), nullptr) << LogForMessage();
    EXPECT_EQ(CountInLog(kNoBaseLibraryLine), 0u);
}

// The control window is looked for once a second; a widget is open, so only its absence can end the process.
TEST_F(StartupE2eTest, WithoutControlWindowEndsAboutASecondAfterStarting) {
    CChildProcess& deskling = StartDeskling(L"/weather");
    ASSERT_NE(WaitForMainWindow(deskling), nullptr) << LogForMessage();
    auto loopStarted = Clock::now();
    ASSERT_TRUE(deskling.WaitForExit(5000));
    EXPECT_LT(MillisecondsSince(loopStarted), 2000.0);
    EXPECT_EQ(deskling.ExitCode(), 0u);
    EXPECT_TRUE(WaitForLog(L"widget weather show:1", 0ms)) << LogForMessage();
}

TEST_F(StartupE2eTest, WithoutSwitchesEndsAboutThreeSecondsLater) {
    StartCompanion();
    CChildProcess& deskling = StartDeskling(L"");
    ASSERT_NE(WaitForMainWindow(deskling), nullptr) << LogForMessage();
    auto created = Clock::now();
    ASSERT_TRUE(deskling.WaitForExit(8000));
    EXPECT_GT(MillisecondsSince(created), 2500.0);
    EXPECT_LT(MillisecondsSince(created), 4500.0);
    EXPECT_EQ(deskling.ExitCode(), 0u);
}

TEST_F(StartupE2eTest, TempAutoAloneOpensNothingAndEndsWhenIdle) {
    StartCompanion();
    CChildProcess& deskling = StartDeskling(L"/tempauto");
    ASSERT_NE(WaitForMainWindow(deskling), nullptr) << LogForMessage();
    auto created = Clock::now();
    ASSERT_TRUE(deskling.WaitForExit(8000));
    EXPECT_GT(MillisecondsSince(created), 2500.0);
    EXPECT_EQ(deskling.ExitCode(), 0u);
    std::wstring log = ReadLog();
    EXPECT_NE(log.find(L"Started. comLine:"), std::wstring::npos) << LogForMessage();
    EXPECT_EQ(log.find(L"widget "), std::wstring::npos) << LogForMessage();
    EXPECT_EQ(log.find(L"StartMonitor"), std::wstring::npos) << LogForMessage();
}

// Every widget open keeps the process; the idle exit does not start while one is recorded open.
TEST_F(StartupE2eTest, OpenWidgetKeepsTheProcessPastTheIdleTime) {
    StartCompanion();
    CChildProcess& deskling = StartDeskling(L"/calendar /news");
    ASSERT_NE(WaitForMainWindow(deskling), nullptr) << LogForMessage();
    EXPECT_FALSE(deskling.WaitForExit(4500));
    EXPECT_TRUE(WaitForLog(L"widget calendar show:1", 0ms)) << LogForMessage();
    EXPECT_TRUE(WaitForLog(L"widget news show:1", 0ms)) << LogForMessage();
}

} // namespace
} // namespace e2e
