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
    const struct {
        const wchar_t* exe;
        const char* library;   // put at the tree's root: "" the real one, nullptr none
        std::wstring quitLine; // empty: the process starts
    } rows[] = {{L"deskling.exe", nullptr, notFound},
                {L"a\\b\\deskling.exe", "", notFound},
                {L"deskling.exe", "not a library", L"init Vexabase.dll failed, quit"},
                {L"sub\\deskling.exe", "", L""}};
    StartCompanion();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.exe);
        ASSERT_TRUE(ClearLog());
        const std::wstring root = TempFolder(L"tree"), exe = root + L"\\" + row.exe, library = root + L"\\Vexabase.dll";
        ASSERT_TRUE(EnsureFolder(FolderOf(exe)) && ::CopyFileW(DesklingExe().c_str(), exe.c_str(), FALSE));
        if (row.library) {
            ASSERT_TRUE(*row.library ? WriteTextFile(library, row.library)
                                     : ::CopyFileW((BinDir() + L"\\Vexabase.dll").c_str(), library.c_str(), FALSE));
        }
        auto start = Clock::now();
        CChildProcess& deskling = StartDeskling(L"/weather", exe);
        if (row.quitLine.empty()) {
            EXPECT_NE(WaitForMainWindow(deskling), nullptr) << ReadLog();
            EXPECT_EQ(CountInLog(notFound), 0u);
            // A later instance's "/exit" ends it.
            EXPECT_TRUE(StartDeskling(L"/exit", exe).WaitForExit(5000));
            EXPECT_TRUE(deskling.WaitForExit(3000)) << ReadLog();
            EXPECT_EQ(deskling.ExitCode(), 0u);
        } else {
            ASSERT_TRUE(deskling.WaitForExit(5000)) << "still running 5 s after its start";
            EXPECT_LT(MillisecondsSince(start), 3000.0);
            EXPECT_EQ(deskling.ExitCode(), 0u);
            EXPECT_EQ(CountInLog(row.quitLine), 1u) << ReadLog();
            EXPECT_EQ(CountInLog(L"Started. comLine:"), 0u) << ReadLog();
        }
    }
}

// Without the control window (looked for once a second) the process ends about a second after its loop
// starts, though a widget is open; with nothing to show ("/tempauto" alone is nothing) about three seconds.
TEST_F(StartupE2eTest, EndsByItselfWithoutControlWindowOrWithNothingToShow) {
    const struct {
        const wchar_t* switches;
        double earliestMs, latestMs;
    } rows[] = {{L"/weather", 0, 2000}, {L"", 2500, 4500}, {L"/tempauto", 2500, 4500}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.switches);
        CChildProcess& deskling = StartDeskling(row.switches);
        ASSERT_NE(WaitForMainWindow(deskling), nullptr) << ReadLog();
        auto created = Clock::now();
        ASSERT_TRUE(deskling.WaitForExit(8000));
        EXPECT_GT(MillisecondsSince(created), row.earliestMs);
        EXPECT_LT(MillisecondsSince(created), row.latestMs);
        EXPECT_EQ(deskling.ExitCode(), 0u);
        if (FindTopLevelWindows(kControlWndClass).empty()) {
            StartCompanion();
        }
    }
    EXPECT_EQ(CountInLog(L"Started. comLine:"), 3u) << ReadLog();
    EXPECT_EQ(CountInLog(L"widget "), 1u) << ReadLog();
    EXPECT_EQ(CountInLog(L"widget weather show:1"), 1u) << ReadLog();
    EXPECT_EQ(CountInLog(L"StartMonitor"), 0u) << ReadLog();
}

} // namespace
} // namespace e2e
