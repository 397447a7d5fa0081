// Records a hostile or broken sender might deliver to the main window: none may end the process or
// stop it from carrying out the next command.

#include "e2e/DesklingE2eTest.h"

#include <cstring>

namespace e2e {
namespace {

constexpr ULONG_PTR kCommandLineTag = 1000;

class CopyDataE2eTest : public CDesklingE2eTest {
protected:
    void SetUp() override {
        CDesklingE2eTest::SetUp();
        StartCompanion();
        m_first = &StartDeskling(L"/weather");
        m_mainWnd = WaitForMainWindow(*m_first);
        ASSERT_NE(m_mainWnd, nullptr) << LogForMessage();
    }

    // Sends one record the way a later instance does; true when the window took it.
    bool Send(ULONG_PTR tag, const void* data, size_t bytes) {
        COPYDATASTRUCT record = {};
        record.dwData = tag;
        record.cbData = static_cast<DWORD>(bytes);
        record.lpData = const_cast<void*>(data);
        DWORD_PTR reply = FALSE;
        LRESULT sent = ::SendMessageTimeoutW(m_mainWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record),
                                             SMTO_BLOCK | SMTO_ABORTIFHUNG, 5000, &reply);
        return sent != 0 && reply == TRUE;
    }
    bool SendText(ULONG_PTR tag, const std::wstring& text, bool withNul = true) {
        return Send(tag, text.c_str(), (text.size() + (withNul ? 1 : 0)) * sizeof(wchar_t));
    }

    CChildProcess* m_first = nullptr;
    HWND m_mainWnd = nullptr;
};

TEST_F(CopyDataE2eTest, TextWithoutTerminatingNulIsReadToTheEndOfTheRecord) {
    ASSERT_TRUE(SendText(kCommandLineTag, L"x /calendar", false));
    EXPECT_TRUE(WaitForLog(L"MSG_COPYDATA_CMD_LINE x /calendar\r\n", 5s)) << LogForMessage();
    EXPECT_TRUE(WaitForLog(L"widget calendar show:1", 5s)) << LogForMessage();
}

TEST_F(CopyDataE2eTest, HostileRecordsLeaveTheProcessAnsweringTheNextCommand) {
    // One megabyte of text without a NUL: too long for a log line, still a command line whose last switch counts.
    std::wstring huge = L"big ";
    huge.append(512 * 1024 - 10, L'A');
    huge += L" /news";
    ASSERT_EQ(huge.size() * sizeof(wchar_t), 1024u * 1024u);
    EXPECT_TRUE(SendText(kCommandLineTag, huge, false));
    // An unknown tag is dropped unread.
    EXPECT_TRUE(SendText(4242, L"unknown /tempmonitor"));
    // No bytes at all: an empty command line.
    EXPECT_TRUE(Send(kCommandLineTag, nullptr, 0));
    // Half a character.
    EXPECT_TRUE(Send(kCommandLineTag, "\x41", 1));
    // Text that stops at an embedded NUL.
    const wchar_t cut[] = L"cut /tempmonitor\0/exit";
    EXPECT_TRUE(Send(kCommandLineTag, cut, sizeof(cut)));

    EXPECT_TRUE(WaitForLog(L"MSG_COPYDATA_CMD_LINE cut /tempmonitor\r\n", 5s)) << LogForMessage();
    EXPECT_TRUE(m_first->IsRunning());
    std::wstring log = ReadLog();
    EXPECT_EQ(CountOccurrences(log, L"widget news show:1"), 1u) << LogForMessage();
    EXPECT_EQ(CountOccurrences(log, L"MSG_COPYDATA_CMD_LINE \r\n"), 2u) << LogForMessage();
    EXPECT_EQ(CountOccurrences(log, L"unknown /tempmonitor"), 0u) << LogForMessage();
    EXPECT_EQ(CountOccurrences(log, L"StartMonitor autoStart:0"), 1u) << LogForMessage();

    // And the process still answers: a well-formed "/exit" ends it.
    EXPECT_TRUE(SendText(kCommandLineTag, L"last /exit"));
    EXPECT_TRUE(m_first->WaitForExit(3000)) << LogForMessage();
    EXPECT_EQ(m_first->ExitCode(), 0u);
}

} // namespace
} // namespace e2e
