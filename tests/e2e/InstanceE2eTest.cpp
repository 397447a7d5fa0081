// One running instance: later processes hand their command line over and end; what they hand over is
// carried out by the first, and no record sent to its main window can end it or stop it answering.

#include "e2e/DesklingE2eTest.h"
#include "unit/app/ScratchFolder.h"

#include <algorithm>
#include <memory>

namespace e2e {
namespace {

class InstanceE2eTest : public CDesklingE2eTest {
protected:
    // The companion and a first deskling with the weather widget open.
    CChildProcess& StartFirst() {
        StartCompanion();
        CChildProcess& first = StartDeskling(L"/weather");
        m_mainWnd = WaitForMainWindow(first);
        EXPECT_NE(m_mainWnd, nullptr) << ReadLog();
        return first;
    }

    // A later deskling with switches, which must hand them over and end with code 0.
    CChildProcess& ForwardFrom(const std::wstring& switches) {
        CChildProcess& later = StartDeskling(switches);
        EXPECT_TRUE(later.WaitForExit(10000)) << "the later instance did not end";
        EXPECT_EQ(later.ExitCode(), 0u);
        return later;
    }

    bool Send(ULONG_PTR tag, const void* data, size_t bytes) { return SendRecord(m_mainWnd, tag, data, bytes); }

    HWND m_mainWnd = nullptr;
};

// An open widget keeps the first past the idle time; once the last one closes, the idle exit ends it.
TEST_F(InstanceE2eTest, LaterInstanceForwardsItsWholeCommandLineAndEndsAndTheFirstEndsOnceIdle) {
    CChildProcess& first = StartFirst();
    EXPECT_FALSE(first.WaitForExit(4500)) << ReadLog();
    CChildProcess& later = ForwardFrom(L"/calendar \"/note=two words\"  /x");
    EXPECT_TRUE(WaitForLog(L"MSG_COPYDATA_CMD_LINE " + later.CommandLine() + L"\r\n", 5s)) << ReadLog();
    EXPECT_TRUE(WaitForCalendar(first.Id())) << ReadLog();
    EXPECT_EQ(FindTopLevelWindows(kMainWndClass).size(), 1u);

    ForwardFrom(L"/closeweather /closecalendar");
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(WaitForWindow(kCalendarWndClass, first.Id(), 0ms)); }, 5s));
    auto closed = Clock::now();
    EXPECT_TRUE(first.WaitForExit(6000)) << ReadLog();
    EXPECT_GT(MillisecondsSince(closed), 2000.0);
    EXPECT_EQ(first.ExitCode(), 0u);
}

// Started together, the instances serialise on the guard: one keeps running with the one main window and
// carries out every switch any of them was given. Under Wine, processes appending to the log at the same
// moment can overwrite each other's line, so the processes that ended are counted by their exit, not by
// what they logged.
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
    ASSERT_TRUE(WaitUntil([&] { return ended() >= 5; }, 20s)) << ended() << " ended\n" << ReadLog();
    EXPECT_FALSE(WaitUntil([&] { return ended() > 5; }, 500ms)) << "no instance kept running";
    DWORD survivor = 0;
    for (CChildProcess* p : started) {
        if (p->IsRunning()) {
            survivor = p->Id();
        } else {
            EXPECT_EQ(p->ExitCode(), 0u);
        }
    }
    EXPECT_EQ(FindTopLevelWindows(kMainWndClass), FindTopLevelWindows(kMainWndClass, survivor));
    EXPECT_EQ(FindTopLevelWindows(kMainWndClass).size(), 1u);
    EXPECT_TRUE(WaitForCalendar(survivor));
    for (const wchar_t* line :
         {L"widget weather show:1", L"widget news show:1", L"tempmonitor StartMonitor autoStart:"}) {
        EXPECT_TRUE(WaitForLog(line, 5s)) << line << " missing\n" << ReadLog();
    }
}

// Records a hostile or broken sender might deliver: an unknown tag (dropped unread) and text cut by an
// embedded NUL; how the text of a record is read is checked natively, a flood of megabyte records by the
// message tests. The next command, "/uninstall", still deletes the data folder, read-only entries included,
// and ends the process; it never leaves the folder through a link to a folder outside, made the way a user or
// another program on the machine can: a Unix link under Wine. Wine 8.0 lists such a link as a folder with
// FILE_ATTRIBUTE_REPARSE_POINT, yet opens it, with FILE_FLAG_OPEN_REPARSE_POINT or without, as the folder it
// points to, and can make neither junctions nor Windows symbolic links; where a link cannot be removed as
// itself, it stays, with the folders holding it. (Folder removal's own test covers links to files.)
TEST_F(InstanceE2eTest, HostileRecordsLeaveTheFirstAnsweringTheNextCommandAnUninstall) {
    const std::wstring data = DataFolder(), outside = TempFolder(L"outside"), link = data + L"\\news\\outside";
    ASSERT_TRUE(EnsureFolder(data + L"\\news"));
    ASSERT_TRUE(WriteTextFile(data + L"\\news\\1.png", "png") && WriteTextFile(outside + L"\\keep.txt", "keep"));
    ASSERT_TRUE(CScratchFolder::MakeSymlink(link, IsWine() ? CScratchFolder::UnixPath(outside) : outside, true));
    // Under Wine the link outlives the uninstall; it goes first when the test ends, then the harness takes the rest.
    const std::shared_ptr<void> removeLink(nullptr, [&](void*) { CScratchFolder::RemoveLink(link); });
    ASSERT_TRUE(::SetFileAttributesW((data + L"\\news\\1.png").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesW((data + L"\\news").c_str(), FILE_ATTRIBUTE_READONLY));
    CChildProcess& first = StartFirst();
    EXPECT_TRUE(Send(4242, L"unknown /tempmonitor", sizeof(L"unknown /tempmonitor")));
    const wchar_t cut[] = L"cut /tempmonitor\0/exit";
    EXPECT_TRUE(Send(kCommandLineTag, cut, sizeof(cut)));

    EXPECT_TRUE(WaitForLog(L"MSG_COPYDATA_CMD_LINE cut /tempmonitor\r\n", 5s)) << ReadLog();
    EXPECT_TRUE(first.IsRunning());
    EXPECT_EQ(CountInLog(L"unknown /tempmonitor"), 0u) << ReadLog();
    EXPECT_EQ(CountInLog(L"StartMonitor autoStart:0"), 1u) << ReadLog();

    EXPECT_TRUE(Send(kCommandLineTag, L"last /uninstall", sizeof(L"last /uninstall")));
    EXPECT_TRUE(first.WaitForExit(5000)) << ReadLog();
    EXPECT_EQ(first.ExitCode(), 0u);
    EXPECT_TRUE(PathExists(outside + L"\\keep.txt"));
    EXPECT_FALSE(PathExists(data + L"\\news\\1.png"));
    EXPECT_EQ(PathExists(data), IsWine()) << "only a link Wine cannot remove as itself keeps the folder";
    EXPECT_TRUE(PathExists(LogPath())) << "the log lives elsewhere and stays";
}

} // namespace
} // namespace e2e
