// Window messages from other processes: any program on the desktop can post the private messages or flood
// the main window with records. None of that may crash deskling, end it with a widget shown or grow it
// without bound.

#include "app/base/DeskMessages.h"
#include "e2e/DesklingE2eTest.h"

#include <algorithm>
#include <atomic>
#include <iterator>
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

// Eight senders at once: the main window answers each copy before it gets back to its queue.
TEST_F(MessagesE2eTest, FloodOfMegabyteRecordsLeavesMemoryBounded) {
    const std::wstring unix = UnixProcessFolder("deskling.exe", "/calendar");
    auto residentMegabytes = [&] { return UnixStatusMegabytes(unix, "VmRSS:"); };
    const double before = residentMegabytes();
    const std::wstring record(512 * 1024, L'A');
    std::atomic<int> taken{0};
    std::vector<std::thread> senders(8);
    for (std::thread& sender : senders) {
        sender = std::thread([&] {
            for (int i = 0; i < 50; ++i) {
                taken += Forward(record);
            }
        });
    }
    for (std::thread& sender : senders) {
        sender.join();
    }
    EXPECT_LT(residentMegabytes() - before, 64.0) << before << " MB before, " << taken << " records taken";
    EXPECT_TRUE(WaitForLog(L"forwarded command line of 1048576 bytes dropped", 1s)) << ReadLog();
    EXPECT_TRUE(AliveWithCalendar());
}

// Ten thousand records from four senders at once, in the shapes a hostile program sends: command lines, odd byte
// counts, text without a terminating zero, unknown tags and, now and then, half a megabyte. Private memory grows by
// less than 16 MB, the UI thread answers within a second all along, and a plain forwarded command still opens its
// widget afterwards. (Wine delivers no record of 4 MB or more between processes: the send times out.)
TEST_F(MessagesE2eTest, TenThousandHostileRecordsLeaveMemoryBoundedAndTheWindowAnswering) {
    const std::wstring unix = UnixProcessFolder("deskling.exe", "/calendar");
    auto privateMegabytes = [&] {
        const std::string status = ReadUnixFile(unix + L"\\status");
        return std::atof(status.c_str() + status.find("RssAnon:") + 8) / 1024.0;
    };
    const std::wstring line = L"x /calendar", unterminated(2000, L'B');
    const std::wstring large(256 * 1024, L'C');
    const struct {
        ULONG_PTR tag;
        const void* data;
        size_t bytes;
    } shapes[] = {{kCommandLineTag, line.c_str(), (line.size() + 1) * 2},
                  {kCommandLineTag, line.c_str(), line.size() * 2 + 1},
                  {kCommandLineTag, unterminated.data(), unterminated.size() * 2},
                  {4242, line.c_str(), (line.size() + 1) * 2}};
    const HWND calendar = WaitForWindow(kCalendarWndClass, m_deskling->Id(), 0ms);
    const double before = privateMegabytes();

    std::atomic<bool> flooding{true};
    double slowestMs = 0;
    std::thread watcher([&] {
        while (flooding) {
            const auto start = Clock::now();
            DWORD_PTR reply = 0;
            ::SendMessageTimeoutW(calendar, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &reply);
            slowestMs = std::max(slowestMs, MillisecondsSince(start));
            std::this_thread::sleep_for(20ms);
        }
    });
    std::vector<std::thread> senders(4);
    for (size_t s = 0; s < senders.size(); ++s) {
        senders[s] = std::thread([&, s] {
            for (size_t i = s; i < 10000; i += senders.size()) {
                const auto& shape = shapes[(i / senders.size()) % std::size(shapes)];
                if (i % 500 == 499) {
                    SendRecord(m_main, kCommandLineTag, large.data(), large.size() * 2);
                } else {
                    SendRecord(m_main, shape.tag, shape.data, shape.bytes);
                }
            }
        });
    }
    for (std::thread& sender : senders) {
        sender.join();
    }
    flooding = false;
    watcher.join();

    EXPECT_LT(privateMegabytes() - before, 16.0) << before << " MB before";
    EXPECT_LT(slowestMs, 1000.0);
    ASSERT_TRUE(Forward(L"x /news"));
    EXPECT_TRUE(WaitForLog(L"widget news show:1", 10s)) << ReadLog();
    EXPECT_TRUE(AliveWithCalendar());
}

} // namespace
} // namespace e2e
