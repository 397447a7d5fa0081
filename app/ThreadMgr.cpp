#include "app/ThreadMgr.h"

#include "app/base/DHAutoLock.h"
#include "app/base/SmartLogger.h"

#include <process.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

constexpr DWORD kSetThreadNameException = 0x406D1388;
// The most handles one wait accepts.
constexpr size_t kMaxWaitHandles = MAXIMUM_WAIT_OBJECTS;
// How long a terminated thread gets to be torn down, so that it is gone when StopAll returns.
constexpr DWORD kTerminateGraceMs = 500;

#pragma pack(push, 8)
struct ThreadNameInfo {
    DWORD type;
    const char* name;
    DWORD threadId;
    DWORD flags;
};
#pragma pack(pop)

LONG CALLBACK ContinueAfterThreadName(EXCEPTION_POINTERS* info) {
    return info->ExceptionRecord->ExceptionCode == kSetThreadNameException ? EXCEPTION_CONTINUE_EXECUTION
                                                                           : EXCEPTION_CONTINUE_SEARCH;
}

// Debuggers name threads from this exception. A debugger sees it first and swallows it; without one
// it would end the process, and mingw has no __try, so a vectored handler registered for the raise
// continues execution instead.
void NameThreadForDebugger(DWORD threadId, const char* name) {
    PVOID handler = ::AddVectoredExceptionHandler(1, ContinueAfterThreadName);
    if (!handler) {
        return;
    }
    ThreadNameInfo info{0x1000, name, threadId, 0};
    ::RaiseException(kSetThreadNameException, 0, sizeof(info) / sizeof(ULONG_PTR),
                     reinterpret_cast<const ULONG_PTR*>(&info));
    ::RemoveVectoredExceptionHandler(handler);
}

// Waits for all handles, at most kMaxWaitHandles at a time, within one overall time-out.
bool WaitForAll(const std::vector<HANDLE>& handles, DWORD timeoutMs) {
    const ULONGLONG start = ::GetTickCount64();
    for (size_t first = 0; first < handles.size(); first += kMaxWaitHandles) {
        const ULONGLONG elapsed = ::GetTickCount64() - start;
        const DWORD left = timeoutMs == INFINITE ? INFINITE : DWORD(elapsed >= timeoutMs ? 0 : timeoutMs - elapsed);
        const DWORD count = DWORD(std::min(kMaxWaitHandles, handles.size() - first));
        const DWORD result = ::WaitForMultipleObjects(count, handles.data() + first, TRUE, left);
        if (result >= WAIT_OBJECT_0 + count) {
            return false;
        }
    }
    return true;
}

} // namespace

CThreadMgr::~CThreadMgr() = default;

HANDLE CThreadMgr::StartThread(ThreadProc proc, void* param, unsigned* threadId, bool postQuit, const char* name) {
    if (!proc) {
        return nullptr;
    }
    CDHAutoLock lock(m_lock);
    if (!m_running) {
        return nullptr;
    }
    unsigned id = 0;
    const uintptr_t started = ::_beginthreadex(nullptr, 0, proc, param, 0, &id);
    if (!started) {
        WriteLog(L"[tid:%d] CThreadMgr::StartThread: _beginthreadex failed, errno %d", ::GetCurrentThreadId(), errno);
        return nullptr;
    }
    HANDLE handle = reinterpret_cast<HANDLE>(started);
    if (name) {
        NameThreadForDebugger(id, name);
    }
    PurgeEnded();
    // While the manager holds the handle the system cannot hand the id to another thread.
    CThreadRecord& record = m_threads[id];
    record.handle.Reset(handle);
    record.name = name ? name : "";
    record.postQuit = postQuit;
    if (threadId) {
        *threadId = id;
    }
    return handle;
}

void CThreadMgr::PurgeEnded() {
    for (auto it = m_threads.begin(); it != m_threads.end();) {
        DWORD exitCode = 0;
        const bool ended =
            !it->second.handle || !::GetExitCodeThread(it->second.handle.Get(), &exitCode) || exitCode != STILL_ACTIVE;
        it = ended ? m_threads.erase(it) : std::next(it);
    }
}

void CThreadMgr::SetRunning(bool running) {
    CDHAutoLock lock(m_lock);
    m_running = running;
    if (running) {
        return;
    }
    for (const auto& [id, record] : m_threads) {
        if (record.postQuit) {
            ::PostThreadMessageW(id, WM_QUIT, 0, 0);
        }
    }
}

bool CThreadMgr::IsRunning() {
    CDHAutoLock lock(m_lock);
    return m_running;
}

bool CThreadMgr::StopAll(DWORD timeoutMs, bool terminate) {
    SetRunning(false);
    std::vector<CKernelHandle> owned;
    {
        CDHAutoLock lock(m_lock);
        if (m_threads.empty()) {
            return true;
        }
        for (auto& [id, record] : m_threads) {
            if (record.handle) {
                owned.push_back(std::move(record.handle));
            }
        }
        m_threads.clear();
    }
    std::vector<HANDLE> handles;
    for (const CKernelHandle& handle : owned) {
        handles.push_back(handle.Get());
    }
    const bool ended = WaitForAll(handles, timeoutMs);
    if (!ended) {
        WriteLog(L"[tid:%d] CThreadMgr::StopAll: %d thread(s) outlived %u ms%s", ::GetCurrentThreadId(),
                 int(handles.size()), unsigned(timeoutMs), terminate ? L", terminating" : L"");
        if (terminate) {
            for (HANDLE handle : handles) {
                ::TerminateThread(handle, 0);
            }
            // TerminateThread only starts the teardown; give it a moment so the threads are gone on return.
            WaitForAll(handles, kTerminateGraceMs);
        }
    }
    return ended;
}
