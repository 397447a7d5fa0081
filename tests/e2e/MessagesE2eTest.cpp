// Window messages from other processes: any program on the desktop can post the private messages or flood
// the main window with records. None of that may crash deskling, end it with a widget shown or grow it
// without bound.

#include "app/base/DeskMessages.h"
#include "e2e/DesklingE2eTest.h"

#include <thread>
#include <vector>

namespace e2e {
namespace {

class MessagesE2eTest : public CDesklingE2eTest {
protected:
    void SetUp() override {
        CDesklingE2eTest::SetUp();
        StartCompanion();
        m_deskling = &StartDeskling(L"/calendar");
        ASSERT_TRUE(WaitForCalendar(m_deskling->Id())) << ReadLog();
        m_main = WaitForMainWindow(*m_deskling);
    }

    // Alive, answering and showing its calendar.
    bool AliveWithCalendar() {
        DWORD_PTR reply = 0;
        return m_deskling->IsRunning() && ::SendMessageTimeoutW(m_main, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &reply) &&
               ::IsWindowVisible(WaitForWindow(kCalendarWndClass, m_deskling->Id(), 0ms));
    }

    bool Forward(const std::wstring& line) { return SendRecord(m_main, kCommandLineTag, line.data(), line.size() * 2); }

    CChildProcess* m_deskling = nullptr;
    HWND m_main = nullptr;
};

TEST_F(MessagesE2eTest, ForgedPrivateMessagesLeaveItRunningWithItsCalendar) {
    const HWND ui = WaitForWindow(kUIThreadWndClass, m_deskling->Id(), 0ms);
    const HWND calendar = WaitForWindow(kCalendarWndClass, m_deskling->Id(), 0ms);
    const LPARAM bad = 0x5A5A5A50;
    const struct {
        HWND to;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    } forged[] = {{m_main, WM_DESK_CMDLINE, 0, bad},
                  {ui, WM_UITASK_POST, bad, 0},
                  {ui, WM_UITASK_SEND, bad, 0},
                  {calendar, WM_LAYER_UPDATE, 0, bad},
                  {m_main, WM_DESK_WIDGET_STATE, kWidgetCalendar, 0}};
    for (const auto& f : forged) {
        ASSERT_TRUE(::PostMessageW(f.to, f.msg, f.wParam, f.lParam));
        EXPECT_TRUE(m_deskling->WaitForIdle(3000) && AliveWithCalendar()) << std::hex << f.msg << "\n" << ReadLog();
    }
    // A believed "calendar closed" would end it after the 3 s idle time.
    EXPECT_FALSE(m_deskling->WaitForExit(4500)) << ReadLog();
    EXPECT_TRUE(AliveWithCalendar());
}

// Held UI thread: both records wait, so the two lines run back to back and the closed state that the first
// posts arrives after the second opened the calendar again.
TEST_F(MessagesE2eTest, CloseAndOpenQueuedTogetherLeaveItRunning) {
    CKernelHandle ui(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, ::GetWindowThreadProcessId(m_main, nullptr)));
    ASSERT_TRUE(ui && ::SuspendThread(ui.Get()) != static_cast<DWORD>(-1));
    std::thread close([&] { EXPECT_TRUE(Forward(L"x /closecalendar")); });
    std::this_thread::sleep_for(200ms);
    std::thread open([&] { EXPECT_TRUE(Forward(L"x /calendar")); });
    std::this_thread::sleep_for(200ms);
    ::ResumeThread(ui.Get());
    close.join();
    open.join();
    EXPECT_TRUE(WaitForLog(L"MSG_COPYDATA_CMD_LINE x /calendar", 5s)) << ReadLog();
    EXPECT_FALSE(m_deskling->WaitForExit(4500)) << ReadLog();
    EXPECT_TRUE(AliveWithCalendar());
}

// Ten thousand forwarded command lines from eight senders at once, every 25th of them a megabyte (what a hostile
// sender can put in one record is the instance test's). The main window answers each copy before it gets back to its
// queue, so private memory grows by less than 16 MB, and a plain forwarded command still opens its widget afterwards.
// (Wine delivers no record of 4 MB or more between processes: the send times out.)
TEST_F(MessagesE2eTest, FloodOfRecordsLeavesMemoryBoundedAndLaterCommandsWorking) {
    const std::wstring unix = UnixProcessFolder("deskling.exe", "/calendar");
    const std::wstring line = L"x /calendar", megabyte(512 * 1024, L'A');
    const double before = UnixStatusMegabytes(unix, "RssAnon:");
    std::vector<std::thread> senders(8);
    for (size_t s = 0; s < senders.size(); ++s) {
        senders[s] = std::thread([&, s] {
            for (size_t i = s; i < 10000; i += senders.size()) {
                Forward(i % 25 == 24 ? megabyte : line);
            }
        });
    }
    for (std::thread& sender : senders) {
        sender.join();
    }

    EXPECT_LT(UnixStatusMegabytes(unix, "RssAnon:") - before, 16.0) << before << " MB before";
    EXPECT_TRUE(WaitForLog(L"forwarded command line of 1048576 bytes dropped", 1s)) << ReadLog();
    ASSERT_TRUE(Forward(L"x /news"));
    EXPECT_TRUE(WaitForLog(L"widget news show:1", 10s)) << ReadLog();
    EXPECT_TRUE(AliveWithCalendar());
}

} // namespace
} // namespace e2e
