#include "app/UIThreadWindow.h"

#include "app/SimpleBind.h"
#include "unit/calendar/PumpMessages.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

struct TaskLog {
    std::atomic<int> runs{0};
    std::atomic<int> destroyed{0};
    std::atomic<DWORD> runThread{0};
};

class CountingTask : public ISimpleBind {
public:
    explicit CountingTask(TaskLog& log) : m_log(log) {}
    ~CountingTask() override { ++m_log.destroyed; }
    void Run() override {
        m_log.runThread = ::GetCurrentThreadId();
        ++m_log.runs;
    }

private:
    TaskLog& m_log;
};

// The test thread plays the UI thread: it owns the marshalling window and pumps its messages.
class UIThreadWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CUIThreadWindow::GetInstance()->Create());
        m_hwnd = CUIThreadWindow::GetInstance()->GetTarget();
        ASSERT_NE(m_hwnd, nullptr);
    }

    HWND m_hwnd = nullptr;
};

TEST_F(UIThreadWindowTest, IsAHiddenPopupOfTheUIThread) {
    EXPECT_EQ(::GetWindowThreadProcessId(m_hwnd, nullptr), ::GetCurrentThreadId());
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(m_hwnd, GWL_STYLE)) & ~WS_CLIPSIBLINGS, DWORD(WS_POPUP));
    EXPECT_EQ(::GetWindowLongW(m_hwnd, GWL_EXSTYLE), 0);
    EXPECT_FALSE(::IsWindowVisible(m_hwnd));
    EXPECT_EQ(::GetWindowTextLengthW(m_hwnd), 0);
    EXPECT_TRUE(CUIThreadWindow::GetInstance()->Create()) << "a second Create keeps the window";
    EXPECT_EQ(CUIThreadWindow::GetInstance()->GetTarget(), m_hwnd);
}

TEST_F(UIThreadWindowTest, SentTaskRunsOnceOnTheUIThreadAndStaysWithItsSender) {
    TaskLog log;
    std::atomic<bool> done{false};
    std::atomic<bool> result{false};
    std::atomic<int> destroyedWhenReturned{-1};
    std::thread worker([&] {
        CountingTask task(log); // on the worker's stack, as an HTTP callback builds it
        result = RunOnUIThread(&task);
        destroyedWhenReturned = log.destroyed.load();
        done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 5000));
    worker.join();
    EXPECT_TRUE(result);
    EXPECT_EQ(log.runs, 1);
    EXPECT_EQ(log.runThread, ::GetCurrentThreadId());
    EXPECT_EQ(destroyedWhenReturned, 0) << "the sender still owns the task";
}

TEST_F(UIThreadWindowTest, PostedTaskRunsOnceAndIsDestroyed) {
    TaskLog log;
    std::atomic<bool> posted{false};
    std::thread worker([&] { posted = PostToUIThread(new CountingTask(log)); });
    worker.join();
    EXPECT_TRUE(posted);
    EXPECT_EQ(log.runs, 0) << "nothing runs until the UI thread gets to it";
    EXPECT_TRUE(PumpUntil([&] { return log.destroyed == 1; }, 5000));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(log.runs, 1);
    EXPECT_EQ(log.destroyed, 1);
    EXPECT_EQ(log.runThread, ::GetCurrentThreadId());
}

TEST_F(UIThreadWindowTest, TaskSentFromTheUIThreadRunsInline) {
    TaskLog log;
    CountingTask task(log);
    EXPECT_TRUE(RunOnUIThread(&task));
    EXPECT_EQ(log.runs, 1);
    EXPECT_EQ(log.destroyed, 0);
}

TEST_F(UIThreadWindowTest, MessagesAnswerOneAfterRunningAndZeroForNoTask) {
    TaskLog log;
    CountingTask sent(log);
    EXPECT_EQ(::SendMessageW(m_hwnd, WM_UITASK_SEND, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(m_hwnd, WM_UITASK_POST, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(m_hwnd, WM_UITASK_SEND, reinterpret_cast<WPARAM>(&sent), 0), 1);
    EXPECT_EQ(log.destroyed, 0);
    EXPECT_EQ(::SendMessageW(m_hwnd, WM_UITASK_POST, reinterpret_cast<WPARAM>(new CountingTask(log)), 0), 1);
    EXPECT_EQ(log.runs, 2);
    EXPECT_EQ(log.destroyed, 1);
    EXPECT_FALSE(RunOnUIThread(nullptr));
    EXPECT_FALSE(PostToUIThread(nullptr));
}

TEST_F(UIThreadWindowTest, ManyWorkersAreServedOneAtATime) {
    constexpr int kWorkers = 8;
    constexpr int kTasksEach = 25;
    TaskLog log;
    std::atomic<int> finished{0};
    std::atomic<int> inside{0};
    std::atomic<int> misplaced{0};
    const DWORD uiThread = ::GetCurrentThreadId();
    // Counts runs off the UI thread or overlapping another task's run.
    struct CheckedTask : ISimpleBind {
        CheckedTask(TaskLog& log, std::atomic<int>& inside, std::atomic<int>& misplaced, DWORD uiThread)
            : log(log), inside(inside), misplaced(misplaced), uiThread(uiThread) {}
        void Run() override {
            if (++inside != 1 || ::GetCurrentThreadId() != uiThread) {
                ++misplaced;
            }
            ++log.runs;
            --inside;
        }
        TaskLog& log;
        std::atomic<int>& inside;
        std::atomic<int>& misplaced;
        DWORD uiThread;
    };
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&, w] {
            for (int i = 0; i < kTasksEach; ++i) {
                if ((i + w) % 2 == 0) {
                    CheckedTask task(log, inside, misplaced, uiThread);
                    RunOnUIThread(&task);
                } else {
                    PostToUIThread(new CheckedTask(log, inside, misplaced, uiThread));
                }
            }
            ++finished;
        });
    }
    EXPECT_TRUE(PumpUntil([&] { return finished == kWorkers && log.runs == kWorkers * kTasksEach; }, 5000));
    for (std::thread& worker : workers) {
        worker.join();
    }
    EXPECT_EQ(log.runs, kWorkers * kTasksEach);
    EXPECT_EQ(misplaced, 0);
}

TEST_F(UIThreadWindowTest, WithoutTheWindowNothingRunsAndPostedTasksAreFreed) {
    TaskLog queued;
    // Queued but never dispatched: destroying the window frees them.
    ASSERT_TRUE(PostToUIThread(new CountingTask(queued)));
    ASSERT_TRUE(PostToUIThread(new CountingTask(queued)));
    CUIThreadWindow::GetInstance()->Destroy();
    EXPECT_FALSE(::IsWindow(m_hwnd));
    EXPECT_EQ(queued.runs, 0);
    EXPECT_EQ(queued.destroyed, 2);

    TaskLog log;
    CountingTask sent(log);
    EXPECT_FALSE(RunOnUIThread(&sent));
    std::thread worker([&] {
        CountingTask workerTask(log);
        EXPECT_FALSE(RunOnUIThread(&workerTask));
        EXPECT_FALSE(PostToUIThread(new CountingTask(log)));
    });
    worker.join();
    EXPECT_FALSE(PostToUIThread(new CountingTask(log)));
    EXPECT_EQ(log.runs, 0);
    EXPECT_EQ(log.destroyed, 3) << "two posted tasks freed at once, the worker's own task by its scope";

    // The main window creates it again in a later process; here the next test does.
    ASSERT_TRUE(CUIThreadWindow::GetInstance()->Create());
    EXPECT_TRUE(RunOnUIThread(&sent));
    EXPECT_EQ(log.runs, 1);
}

// Bound calls.
class CRecorder {
public:
    void Touch() { ++touches; }
    bool TouchAndAnswer() {
        ++touches;
        return true;
    }
    void Text(const char* text) { narrow = text; }
    void Wide(const std::wstring& text) { wide = text; }
    void Pair(std::wstring first, std::wstring second) { wide = first + L"|" + second; }
    void Values(unsigned int a, unsigned int b) { sum = a + b; }

    int touches = 0;
    std::string narrow;
    std::wstring wide;
    unsigned int sum = 0;
};

TEST(SimpleBind, RunCallsTheMemberWithItsStoredArguments) {
    CRecorder recorder;
    mf_bind_t touch(&recorder, &CRecorder::Touch);
    touch.Run();
    touch.Run();
    EXPECT_EQ(recorder.touches, 2);
    mf_bind_t answer(&recorder, &CRecorder::TouchAndAnswer);
    answer.Run();
    EXPECT_EQ(recorder.touches, 3);

    const char* body = "{\"code\":0}";
    mf_bind_t_1 text(&recorder, &CRecorder::Text, body);
    text.Run();
    EXPECT_EQ(recorder.narrow, body);

    std::wstring name = L"\u5317\u4eac";
    mf_bind_t_1 wide(&recorder, &CRecorder::Wide, name);
    name = L"changed after binding";
    wide.Run();
    EXPECT_EQ(recorder.wide, L"\u5317\u4eac") << "a string argument is a copy";

    std::wstring title = L"title";
    mf_bind_t_2 pair(&recorder, &CRecorder::Pair, title, std::wstring(L"url"));
    title.clear();
    pair.Run();
    EXPECT_EQ(recorder.wide, L"title|url");

    mf_bind_t_2 values(&recorder, &CRecorder::Values, 40u, 2u);
    ISimpleBind* task = &values;
    task->Run();
    EXPECT_EQ(recorder.sum, 42u);
}

} // namespace
