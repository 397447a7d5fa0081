#pragma once

#include "app/base/DHCriticalSection.h"
#include "app/base/ScopedHandle.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

// Worker threads of one owner (a model or an installer). The owner starts workers with StartThread
// and stops them from its destructor with StopAll(1000, true): a worker may be blocked in
// RunOnUIThread, so the UI thread never waits for it without a bound.
class CThreadMgr {
public:
    using ThreadProc = unsigned(__stdcall*)(void*);

    CThreadMgr() = default;
    // Closes the handles of threads still recorded, without waiting for them.
    virtual ~CThreadMgr();
    CThreadMgr(const CThreadMgr&) = delete;
    CThreadMgr& operator=(const CThreadMgr&) = delete;

    // Starts proc(param) at once. The returned handle stays owned by the manager (valid until the
    // thread has ended and been purged, or StopAll); null when proc is null, the manager has been
    // stopped or the thread cannot be created. name, when given, is shown by a debugger.
    virtual HANDLE StartThread(ThreadProc proc, void* param, unsigned* threadId, bool postQuit, const char* name);
    // false stops new threads and posts WM_QUIT to the threads started with postQuit.
    virtual void SetRunning(bool running);
    virtual bool IsRunning();
    // Stops accepting threads and waits for the recorded ones together, up to timeoutMs; threads
    // still running then are terminated when terminate is set. True when all ended in time.
    virtual bool StopAll(DWORD timeoutMs, bool terminate);

private:
    struct CThreadRecord {
        CKernelHandle handle;
        std::string name;
        bool postQuit = false;
    };

    void PurgeEnded();

    bool m_running = true;
    std::map<uint32_t, CThreadRecord> m_threads;
    CDHCriticalSection m_lock;
};
