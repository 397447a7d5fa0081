// Start-up and the three ways the process ends by itself: no base library, no wallpaper application,
// nothing to show.

#include "e2e/DesklingE2eTest.h"

namespace e2e {
namespace {

using StartupE2eTest = CDesklingE2eTest;

// The base library is looked for beside the program and one folder up, no further; without it, or when it
// cannot be loaded, the process ends at once with code 0 and never starts.
TEST_F(StartupE2eTest, BaseLibraryIsLookedForBesideAndAboveAndItsAbsenceEndsAtOnce) {
    const std::wstring notFound = L"找不到Vexabase.dll， quit";
    struct Row {
        const wchar_t* exe;
        const wchar_t* library;   // where Vexabase.dll is put, if anywhere
        const char* libraryBytes; // nullptr: the real library
        std::wstring quitLine;    // empty: the process starts
    } rows[] = {
        {L"deskling.exe", nullptr, nullptr, notFound},
        {L"a\\b\\deskling.exe", L"Vexabase.dll", nullptr, notFound},
        {L"deskling.exe", L"Vexabase.dll", "not a library", L"init Vexabase.dll failed, quit"},
        {L"sub\\deskling.exe", L"Vexabase.dll", nullptr, L""},
    };
    StartCompanion();
    for (const Row& row : rows) {
        SCOPED_TRACE(Narrow(std::wstring(row.exe) + L" " + (row.library ? row.library : L"-")));
        ASSERT_TRUE(ClearLog());
        const std::wstring root = TempFolder(L"tree"), exe = root + L"\\" + row.exe;
        ASSERT_TRUE(EnsureFolder(FolderOf(exe)));
        ASSERT_TRUE(::CopyFileW(DesklingExe().c_str(), exe.c_str(), FALSE));
        if (row.library) {
            const std::wstring library = root + L"\\" + row.library;
            ASSERT_TRUE(row.libraryBytes ? WriteTextFile(library, row.libraryBytes)
                                         : ::CopyFileW((BinDir() + L"\\Vexabase.dll").c_str(), library.c_str(), FALSE));
        }
        auto start = Clock::now();
        CChildProcess& deskling = StartDeskling(L"/weather", exe);
        if (row.quitLine.empty()) {
            EXPECT_NE(WaitForMainWindow(deskling), nullptr) << LogForMessage();
            EXPECT_EQ(CountInLog(notFound), 0u);
            EXPECT_TRUE(StartDeskling(L"/exit", exe).WaitForExit(5000));
            EXPECT_TRUE(deskling.WaitForExit(5000));
            continue;
        }
        ASSERT_TRUE(deskling.WaitForExit(5000)) << "still running 5 s after its start";
        EXPECT_LT(MillisecondsSince(start), 3000.0);
        EXPECT_EQ(deskling.ExitCode(), 0u);
        EXPECT_EQ(CountInLog(row.quitLine), 1u) << LogForMessage();
        EXPECT_EQ(CountInLog(L"Started. comLine:"), 0u) << LogForMessage();
    }
}

// The control window is looked for once a second; a widget is open, so only its absence can end the process.
TEST_F(StartupE2eTest, WithoutControlWindowEndsAboutASecondAfterStarting) {
    CChildProcess& deskling = StartDeskling(L"/weather");
    ASSERT_NE(WaitForMainWindow(deskling), nullptr) << LogForMessage();
    auto loopStarted = Clock::now();
    ASSERT_TRUE(deskling.WaitForExit(5000));
    EXPECT_LT(MillisecondsSince(loopStarted), 2000.0);
    EXPECT_EQ(deskling.ExitCode(), 0u);
    EXPECT_EQ(CountInLog(L"widget weather show:1"), 1u) << LogForMessage();
}

// With nothing to show, and "/tempauto" alone is nothing, the process ends about three seconds later.
TEST_F(StartupE2eTest, WithNothingToShowEndsAboutThreeSecondsLater) {
    StartCompanion();
    for (const wchar_t* switches : {L"", L"/tempauto"}) {
        SCOPED_TRACE(Narrow(switches));
        CChildProcess& deskling = StartDeskling(switches);
        ASSERT_NE(WaitForMainWindow(deskling), nullptr) << LogForMessage();
        auto created = Clock::now();
        ASSERT_TRUE(deskling.WaitForExit(8000));
        EXPECT_GT(MillisecondsSince(created), 2500.0);
        EXPECT_LT(MillisecondsSince(created), 4500.0);
        EXPECT_EQ(deskling.ExitCode(), 0u);
    }
    EXPECT_EQ(CountInLog(L"Started. comLine:"), 2u) << LogForMessage();
    EXPECT_EQ(CountInLog(L"widget "), 0u) << LogForMessage();
    EXPECT_EQ(CountInLog(L"StartMonitor"), 0u) << LogForMessage();
}

} // namespace
} // namespace e2e
