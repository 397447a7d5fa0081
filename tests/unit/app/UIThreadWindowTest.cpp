#include "app/UIThreadWindow.h"

#include "unit/calendar/PumpMessages.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

namespace {

// Made on the test thread, which plays the UI thread: it owns the marshalling window and pumps its messages.
struct TaskLog {
    const DWORD uiThread = ::GetCurrentThreadId();
    std::atomic<int> runs{0}, destroyed{0}, offThread{0};
};

class CountingTask : public ISimpleBind {
public:
    explicit CountingTask(TaskLog& log) : m_log(log) {}
    ~CountingTask() override { ++m_log.destroyed; }
    void Run() override {
        m_log.offThread += ::GetCurrentThreadId() != m_log.uiThread;
        ++m_log.runs;
    }

private:
    TaskLog& m_log;
};

class UIThreadWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CUIThreadWindow::GetInstance()->Create());
        m_hwnd = CUIThreadWindow::GetInstance()->GetTarget();
        ASSERT_NE(m_hwnd, nullptr);
    }
    void TearDown() override { EXPECT_EQ(m_log.offThread, 0) << "tasks run on the UI thread only"; }

    HWND m_hwnd = nullptr;
    TaskLog m_log;
};

TEST_F(UIThreadWindowTest, SentTaskRunsOnceOnTheUIThreadAndStaysWithItsSender) {
    std::atomic<bool> result{false};
    std::atomic<int> destroyedWhenReturned{-1};
    std::thread worker([&] {
        CountingTask task(m_log); // on the worker's stack, as an HTTP callback builds it
        result = RunOnUIThread(&task);
        destroyedWhenReturned = m_log.destroyed.load();
    });
    EXPECT_TRUE(PumpUntil([&] { return destroyedWhenReturned != -1; }, 5000));
    worker.join();
    EXPECT_TRUE(result);
    EXPECT_EQ(m_log.runs, 1);
    EXPECT_EQ(destroyedWhenReturned, 0) << "the sender still owns the task";

    // Sent from the UI thread itself it runs at once, without a message.
    CountingTask onUIThread(m_log);
    EXPECT_TRUE(RunOnUIThread(&onUIThread));
    EXPECT_EQ(m_log.runs, 2);
    EXPECT_FALSE(RunOnUIThread(nullptr));
    EXPECT_FALSE(PostToUIThread(nullptr));
}

TEST_F(UIThreadWindowTest, PostedTaskRunsOnceAndIsDestroyed) {
    std::atomic<bool> posted{false};
    std::thread worker([&] { posted = PostToUIThread(new CountingTask(m_log)); });
    worker.join();
    EXPECT_TRUE(posted);
    EXPECT_EQ(m_log.runs, 0) << "nothing runs until the UI thread gets to it";
    EXPECT_TRUE(PumpUntil([&] { return m_log.destroyed == 1; }, 5000));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(m_log.runs, 1);
    EXPECT_EQ(m_log.destroyed, 1);
}

TEST_F(UIThreadWindowTest, WithoutTheWindowNothingRunsAndPostedTasksAreFreed) {
    // Queued but never dispatched: destroying the window frees them.
    ASSERT_TRUE(PostToUIThread(new CountingTask(m_log)));
    ASSERT_TRUE(PostToUIThread(new CountingTask(m_log)));
    CUIThreadWindow::GetInstance()->Destroy();
    EXPECT_FALSE(::IsWindow(m_hwnd));
    EXPECT_EQ(m_log.destroyed, 2);

    CountingTask sent(m_log);
    EXPECT_FALSE(RunOnUIThread(&sent));
    EXPECT_FALSE(PostToUIThread(new CountingTask(m_log)));
    EXPECT_EQ(m_log.runs, 0);
    EXPECT_EQ(m_log.destroyed, 3) << "a refused posted task is freed at once";

    // The main window creates it again in a later process; here the next test does. A second Create keeps it.
    ASSERT_TRUE(CUIThreadWindow::GetInstance()->Create());
    const HWND again = CUIThreadWindow::GetInstance()->GetTarget();
    ASSERT_TRUE(CUIThreadWindow::GetInstance()->Create());
    EXPECT_EQ(CUIThreadWindow::GetInstance()->GetTarget(), again);
    EXPECT_TRUE(RunOnUIThread(&sent));
    EXPECT_EQ(m_log.runs, 1);
}

} // namespace
