#include "app/ThreadMgr.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

namespace {

// Events a worker and its test share; the worker counts its runs and waits for `release`.
struct WorkerState {
    HANDLE started = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> runs{0};
    std::atomic<int> ended{0};
    std::atomic<DWORD> threadId{0};
    ~WorkerState() {
        ::CloseHandle(started);
        ::CloseHandle(release);
    }
};

unsigned __stdcall BlockingWorker(void* param) {
    auto* state = static_cast<WorkerState*>(param);
    state->threadId = ::GetCurrentThreadId();
    ++state->runs;
    ::SetEvent(state->started);
    ::WaitForSingleObject(state->release, INFINITE);
    ++state->ended;
    return 7;
}

unsigned __stdcall ShortWorker(void* param) {
    auto* state = static_cast<WorkerState*>(param);
    ++state->runs;
    ::SetEvent(state->started);
    return 0;
}

// A worker with a message loop, ended by WM_QUIT.
unsigned __stdcall MessageLoopWorker(void* param) {
    auto* state = static_cast<WorkerState*>(param);
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // the queue must exist before anyone posts
    ::SetEvent(state->started);
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    }
    ++state->runs;
    return 3;
}

DWORD WINAPI ReleaseLater(void* param) {
    ::Sleep(200);
    ::SetEvent(static_cast<WorkerState*>(param)->release);
    return 0;
}

HANDLE Duplicate(HANDLE handle) {
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return copy;
}

// Starts a worker and waits until it runs; null when either fails.
HANDLE StartAndAwait(CThreadMgr& manager, CThreadMgr::ThreadProc proc, WorkerState& state, bool postQuit = false) {
    HANDLE thread = manager.StartThread(proc, &state, nullptr, postQuit, nullptr);
    if (thread && ::WaitForSingleObject(state.started, 5000) != WAIT_OBJECT_0) {
        return nullptr;
    }
    return thread;
}

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

// Named, the thread is started with the naming exception raised: it must not need a debugger to catch it.
TEST(ThreadMgr, StartsTheNamedThreadAndReportsItsIdButNoNullProcedure) {
    CThreadMgr manager;
    WorkerState state;
    unsigned id = 0;
    HANDLE thread = manager.StartThread(BlockingWorker, &state, &id, false, "calendar month");
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(::WaitForSingleObject(state.started, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(id, state.threadId.load());
    EXPECT_EQ(::GetThreadId(thread), state.threadId.load());

    unsigned untouched = 12345;
    EXPECT_EQ(manager.StartThread(nullptr, nullptr, &untouched, false, nullptr), nullptr);
    EXPECT_EQ(untouched, 12345u);

    ::SetEvent(state.release);
    EXPECT_TRUE(manager.StopAll(5000, false));
    EXPECT_EQ(state.runs, 1);
}

TEST(ThreadMgr, StartThreadAfterStopAllReturnsNullAndStartsNothing) {
    CThreadMgr manager;
    EXPECT_TRUE(manager.IsRunning());
    const ULONGLONG before = ::GetTickCount64();
    EXPECT_TRUE(manager.StopAll(1000, true));
    EXPECT_LT(::GetTickCount64() - before, 200u) << "nothing to wait for";
    EXPECT_FALSE(manager.IsRunning());

    WorkerState state;
    unsigned id = 0;
    EXPECT_EQ(manager.StartThread(ShortWorker, &state, &id, false, nullptr), nullptr);
    EXPECT_EQ(::WaitForSingleObject(state.started, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(state.runs, 0);
    EXPECT_EQ(id, 0u);

    // SetRunning opens the gate again.
    manager.SetRunning(true);
    EXPECT_NE(manager.StartThread(ShortWorker, &state, nullptr, false, nullptr), nullptr);
    EXPECT_EQ(::WaitForSingleObject(state.started, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(manager.StopAll(5000, false));
}

TEST(ThreadMgr, StopAllTerminatesAStuckWorkerAfterTheTimeOut) {
    CThreadMgr manager;
    WorkerState state;
    HANDLE thread = StartAndAwait(manager, BlockingWorker, state);
    ASSERT_NE(thread, nullptr);
    HANDLE watch = Duplicate(thread);
    ASSERT_NE(watch, nullptr);

    const ULONGLONG before = ::GetTickCount64();
    EXPECT_FALSE(manager.StopAll(1000, true));
    const ULONGLONG elapsed = ::GetTickCount64() - before;
    EXPECT_GE(elapsed, 950u);
    EXPECT_LT(elapsed, 3000u);

    // Gone: ended with the exit code TerminateThread gave it, not the one it would have returned.
    EXPECT_EQ(::WaitForSingleObject(watch, 0), WAIT_OBJECT_0);
    DWORD exitCode = STILL_ACTIVE;
    EXPECT_TRUE(::GetExitCodeThread(watch, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(IsOpenHandle(thread)) << "the manager closes the handles it collected";
    ::CloseHandle(watch);
}

TEST(ThreadMgr, StopAllWithoutTerminateLeavesTheWorkerRunning) {
    CThreadMgr manager;
    WorkerState state;
    HANDLE thread = StartAndAwait(manager, BlockingWorker, state);
    ASSERT_NE(thread, nullptr);
    HANDLE watch = Duplicate(thread);

    EXPECT_FALSE(manager.StopAll(300, false));
    EXPECT_EQ(::WaitForSingleObject(watch, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ::SetEvent(state.release);
    EXPECT_EQ(::WaitForSingleObject(watch, 5000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    ::GetExitCodeThread(watch, &exitCode);
    EXPECT_EQ(exitCode, 7u);
    ::CloseHandle(watch);
}

TEST(ThreadMgr, StopAllWaitsForEveryWorker) {
    CThreadMgr manager;
    WorkerState state;
    constexpr int kWorkers = 70; // more than one wait can take
    for (int i = 0; i < kWorkers; ++i) {
        ASSERT_NE(manager.StartThread(BlockingWorker, &state, nullptr, false, nullptr), nullptr);
    }
    while (state.runs < kWorkers) {
        ::Sleep(1);
    }
    HANDLE releaser = ::CreateThread(nullptr, 0, ReleaseLater, &state, 0, nullptr);
    ASSERT_NE(releaser, nullptr);
    EXPECT_TRUE(manager.StopAll(10000, true));
    EXPECT_EQ(state.ended, kWorkers);
    ::WaitForSingleObject(releaser, INFINITE);
    ::CloseHandle(releaser);
}

TEST(ThreadMgr, SetRunningFalseQuitsMessageLoopWorkers) {
    CThreadMgr manager;
    WorkerState loop;
    WorkerState plain;
    HANDLE loopThread = StartAndAwait(manager, MessageLoopWorker, loop, true);
    ASSERT_NE(loopThread, nullptr);
    ASSERT_NE(StartAndAwait(manager, BlockingWorker, plain), nullptr);
    HANDLE watch = Duplicate(loopThread);

    manager.SetRunning(false);
    EXPECT_EQ(::WaitForSingleObject(watch, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(loop.runs, 1);
    ::CloseHandle(watch);
    ::SetEvent(plain.release);
    EXPECT_TRUE(manager.StopAll(5000, false));
}

TEST(ThreadMgr, EndedThreadsArePurgedAtTheNextStart) {
    CThreadMgr manager;
    WorkerState first;
    HANDLE ended = manager.StartThread(ShortWorker, &first, nullptr, false, nullptr);
    ASSERT_NE(ended, nullptr);
    HANDLE watch = Duplicate(ended);
    ASSERT_EQ(::WaitForSingleObject(watch, 5000), WAIT_OBJECT_0);
    ::CloseHandle(watch);
    EXPECT_TRUE(IsOpenHandle(ended)) << "kept until the next start";

    WorkerState second;
    ASSERT_NE(manager.StartThread(BlockingWorker, &second, nullptr, false, nullptr), nullptr);
    EXPECT_FALSE(IsOpenHandle(ended));
    ::SetEvent(second.release);
    EXPECT_TRUE(manager.StopAll(5000, false));
}

TEST(ThreadMgr, DestructorClosesHandlesWithoutWaiting) {
    WorkerState state;
    HANDLE thread = nullptr;
    HANDLE watch = nullptr;
    {
        CThreadMgr manager;
        thread = StartAndAwait(manager, BlockingWorker, state);
        ASSERT_NE(thread, nullptr);
        watch = Duplicate(thread);
    }
    EXPECT_FALSE(IsOpenHandle(thread));
    EXPECT_EQ(::WaitForSingleObject(watch, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "still running";
    ::SetEvent(state.release);
    EXPECT_EQ(::WaitForSingleObject(watch, 5000), WAIT_OBJECT_0);
    ::CloseHandle(watch);
}

} // namespace
