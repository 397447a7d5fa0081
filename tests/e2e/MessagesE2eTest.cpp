// Window messages from other processes: any program on the desktop can post the private messages or flood
// the main window with records. None of that may end deskling, crash it or grow it without bound, and the
// state it keeps of its widgets follows the widgets themselves, whatever order their messages arrive in.

#include "app/base/DeskMessages.h"
#include "e2e/DesklingE2eTest.h"

#include <atomic>
#include <sstream>
#include <thread>
#include <vector>

namespace e2e {
namespace {

constexpr ULONG_PTR kCommandLineTag = 1000;
constexpr wchar_t kUIThreadWndClass[] = L"DesklingUIThreadWindow";

class MessagesE2eTest : public CDesklingE2eTest {
protected:
    // The companion and a deskling with its calendar shown.
    CChildProcess& StartWithCalendar() {
        StartCompanion();
        CChildProcess& deskling = StartDeskling(L"/calendar");
        EXPECT_TRUE(WaitForCalendar(deskling.Id())) << ReadLog();
        m_main = WaitForMainWindow(deskling);
        return deskling;
    }

    // Sends one command-line record as a later instance does; true when it was taken.
    bool Forward(const void* data, size_t bytes) {
        COPYDATASTRUCT record = {kCommandLineTag, static_cast<DWORD>(bytes), const_cast<void*>(data)};
        DWORD_PTR reply = FALSE;
        return ::SendMessageTimeoutW(m_main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record), SMTO_BLOCK, 10000,
                                     &reply) &&
               reply == TRUE;
    }

    // Alive, answering, and still showing its calendar.
    bool AliveWithCalendar(const CChildProcess& deskling) {
        DWORD_PTR reply = 0;
        return deskling.IsRunning() && ::SendMessageTimeoutW(m_main, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &reply) &&
               ::IsWindowVisible(WaitForWindow(kCalendarWndClass, deskling.Id(), 0ms));
    }

    HWND m_main = nullptr;
};

TEST_F(MessagesE2eTest, ForgedPrivateMessagesLeaveItRunningWithItsCalendar) {
    CChildProcess& deskling = StartWithCalendar();
    const HWND uiThread = WaitForWindow(kUIThreadWndClass, deskling.Id(), 0ms);
    const HWND calendar = WaitForWindow(kCalendarWndClass, deskling.Id(), 0ms);
    ASSERT_TRUE(m_main && uiThread && calendar);
    const struct {
        HWND to;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    } forged[] = {
        {m_main, WM_DESK_CMDLINE, 0, 0x5A5A5A50},           {uiThread, WM_UITASK_POST, 0x5A5A5A50, 0},
        {uiThread, WM_UITASK_SEND, 0x5A5A5A50, 0},          {calendar, WM_LAYER_UPDATE, 0, 0x5A5A5A50},
        {m_main, WM_DESK_WIDGET_STATE, kWidgetCalendar, 0},
    };
    for (const auto& f : forged) {
        ASSERT_TRUE(::PostMessageW(f.to, f.msg, f.wParam, f.lParam));
        EXPECT_TRUE(deskling.WaitForIdle(3000) && AliveWithCalendar(deskling)) << std::hex << f.msg << "\n"
                                                                               << ReadLog();
    }
    // A believed "calendar closed" would start the 3 s idle exit.
    EXPECT_FALSE(deskling.WaitForExit(4500)) << ReadLog();
    EXPECT_TRUE(AliveWithCalendar(deskling));
}

// The closed state the first line posts arrives after the second line opened the calendar again. The UI
// thread is held while both records wait, so the two lines are carried out one right after the other.
TEST_F(MessagesE2eTest, CloseAndOpenQueuedTogetherLeaveItRunning) {
    CChildProcess& deskling = StartWithCalendar();
    DWORD processId = 0;
    CKernelHandle ui(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, ::GetWindowThreadProcessId(m_main, &processId)));
    ASSERT_TRUE(ui && ::SuspendThread(ui.Get()) != static_cast<DWORD>(-1));
    const wchar_t close[] = L"x /closecalendar", open[] = L"x /calendar";
    std::thread first([&] { EXPECT_TRUE(Forward(close, sizeof(close))); });
    std::this_thread::sleep_for(200ms);
    std::thread second([&] { EXPECT_TRUE(Forward(open, sizeof(open))); });
    std::this_thread::sleep_for(200ms);
    ::ResumeThread(ui.Get());
    first.join();
    second.join();
    EXPECT_TRUE(WaitForLog(L"MSG_COPYDATA_CMD_LINE x /calendar", 5s)) << ReadLog();
    EXPECT_FALSE(deskling.WaitForExit(4500)) << ReadLog();
    EXPECT_TRUE(AliveWithCalendar(deskling));
}

TEST_F(MessagesE2eTest, FloodOfMegabyteRecordsLeavesMemoryBounded) {
    CChildProcess& deskling = StartWithCalendar();
    const std::wstring unix = UnixProcessFolder("deskling.exe", "/calendar");
    ASSERT_FALSE(unix.empty());
    auto residentMegabytes = [&] {
        std::istringstream status(ReadUnixFile(unix + L"\\status"));
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmRSS:", 0) == 0) {
                return std::atof(line.c_str() + 6) / 1024.0;
            }
        }
        return -1.0;
    };
    const double before = residentMegabytes();
    // Several senders at once: the main window answers each copy before it gets back to its queue.
    const std::wstring record(512 * 1024, L'A');
    std::atomic<int> taken{0};
    std::vector<std::thread> senders;
    for (int t = 0; t < 8; ++t) {
        senders.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                taken += Forward(record.data(), record.size() * sizeof(wchar_t));
            }
        });
    }
    for (std::thread& sender : senders) {
        sender.join();
    }
    const double after = residentMegabytes();
    EXPECT_LT(after - before, 64.0) << before << " MB before, " << taken << " records taken";
    EXPECT_GT(taken, 0);
    EXPECT_TRUE(WaitForLog(L"dropped", 1s)) << "a refused record leaves a log line";
    EXPECT_TRUE(AliveWithCalendar(deskling));
}

} // namespace
} // namespace e2e
