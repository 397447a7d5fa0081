#include "app/ThreadMgr.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

namespace {

// Events a worker and its test share; the worker counts its runs and waits for `release` (set at once for a
// worker that is to end by itself).
struct WorkerState {
    CKernelHandle started{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    CKernelHandle release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> runs{0}, ended{0};
    std::atomic<DWORD> threadId{0};
};

unsigned __stdcall BlockingWorker(void* param) {
    auto* state = static_cast<WorkerState*>(param);
    state->threadId = ::GetCurrentThreadId();
    ++state->runs;
    ::SetEvent(state->started.Get());
    ::WaitForSingleObject(state->release.Get(), INFINITE);
    ++state->ended;
    return 7;
}

// A worker with a message loop, ended by WM_QUIT.
unsigned __stdcall MessageLoopWorker(void* param) {
    auto* state = static_cast<WorkerState*>(param);
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // the queue must exist before anyone posts
    ::SetEvent(state->started.Get());
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    }
    ++state->runs;
    return 3;
}

// Starts a worker, waits until it runs and returns a handle of the test's own to it; null when either fails.
HANDLE StartAndWatch(CThreadMgr& manager, CThreadMgr::ThreadProc proc, WorkerState& state, bool postQuit = false) {
    HANDLE thread = manager.StartThread(proc, &state, nullptr, postQuit, nullptr);
    HANDLE copy = nullptr;
    if (!thread || ::WaitForSingleObject(state.started.Get(), 5000) != WAIT_OBJECT_0 ||
        !::DuplicateHandle(::GetCurrentProcess(), thread, ::GetCurrentProcess(), &copy, 0, FALSE,
                           DUPLICATE_SAME_ACCESS)) {
        return nullptr;
    }
    return copy;
}

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

// Named, the thread is started with the naming exception raised: it must not need a debugger to catch it.
TEST(ThreadMgr, StopAllWaitsForEveryWorkerAndQuitsLoopsThenNothingStartsUntilRunningAgain) {
    CThreadMgr manager;
    WorkerState state, loop;
    unsigned id = 0;
    HANDLE thread = manager.StartThread(BlockingWorker, &state, &id, false, "calendar month");
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(::WaitForSingleObject(state.started.Get(), 5000), WAIT_OBJECT_0);
    EXPECT_EQ(id, state.threadId.load());
    EXPECT_EQ(::GetThreadId(thread), state.threadId.load());
    EXPECT_EQ(manager.StartThread(nullptr, nullptr, &id, false, nullptr), nullptr);
    constexpr int kWorkers = 70; // more than one wait can take
    for (int i = 1; i < kWorkers; ++i) {
        ASSERT_NE(manager.StartThread(BlockingWorker, &state, nullptr, false, nullptr), nullptr);
    }
    ASSERT_TRUE(CKernelHandle(StartAndWatch(manager, MessageLoopWorker, loop, true)));
    while (state.runs < kWorkers) {
        ::Sleep(1);
    }
    std::thread releaser([&] {
        ::Sleep(200);
        ::SetEvent(state.release.Get());
    });
    EXPECT_TRUE(manager.StopAll(10000, false));
    releaser.join();
    EXPECT_EQ(state.ended, kWorkers);
    EXPECT_EQ(loop.runs, 1) << "the message-loop worker is told to quit";

    EXPECT_FALSE(manager.IsRunning());
    ::ResetEvent(state.started.Get());
    EXPECT_EQ(manager.StartThread(BlockingWorker, &state, nullptr, false, nullptr), nullptr);
    EXPECT_EQ(::WaitForSingleObject(state.started.Get(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
    manager.SetRunning(true);
    EXPECT_NE(manager.StartThread(BlockingWorker, &state, nullptr, false, nullptr), nullptr);
    EXPECT_TRUE(manager.StopAll(5000, false));
    EXPECT_EQ(state.runs, kWorkers + 1);
}

TEST(ThreadMgr, StopAllTerminatesAStuckWorkerAfterTheTimeOut) {
    CThreadMgr manager;
    WorkerState state;
    CKernelHandle watch(StartAndWatch(manager, BlockingWorker, state));
    ASSERT_TRUE(watch);
    const ULONGLONG before = ::GetTickCount64();
    EXPECT_FALSE(manager.StopAll(1000, true));
    const ULONGLONG elapsed = ::GetTickCount64() - before;
    EXPECT_GE(elapsed, 950u);
    EXPECT_LT(elapsed, 3000u);
    // Gone, with the exit code TerminateThread gave it rather than the one it returns.
    ASSERT_EQ(::WaitForSingleObject(watch.Get(), 0), WAIT_OBJECT_0);
    DWORD exitCode = STILL_ACTIVE;
    EXPECT_TRUE(::GetExitCodeThread(watch.Get(), &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(ThreadMgr, EndedThreadsArePurgedAtTheNextStartAndTheDestructorClosesTheRestWithoutWaiting) {
    WorkerState first, second;
    ::SetEvent(first.release.Get());
    HANDLE running = nullptr;
    CKernelHandle watch;
    {
        CThreadMgr manager;
        HANDLE ended = manager.StartThread(BlockingWorker, &first, nullptr, false, nullptr);
        ASSERT_NE(ended, nullptr);
        ASSERT_EQ(::WaitForSingleObject(ended, 5000), WAIT_OBJECT_0);
        EXPECT_TRUE(IsOpenHandle(ended)) << "kept until the next start";
        running = manager.StartThread(BlockingWorker, &second, nullptr, false, nullptr);
        ASSERT_NE(running, nullptr);
        EXPECT_FALSE(IsOpenHandle(ended));
        ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), running, ::GetCurrentProcess(), watch.Receive(), 0, FALSE,
                                      DUPLICATE_SAME_ACCESS));
    }
    EXPECT_FALSE(IsOpenHandle(running));
    EXPECT_EQ(::WaitForSingleObject(watch.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "still running";
    ::SetEvent(second.release.Get());
    EXPECT_EQ(::WaitForSingleObject(watch.Get(), 5000), WAIT_OBJECT_0);
}

} // namespace
