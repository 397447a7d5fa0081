#include "companions/netul/HttpManager.h"

#include "companions/netul/HttpTask.h"

#include <utility>
#include <vector>

IHttpTask* STDMETHODCALLTYPE CHttpManager::CreateTask() {
    return new CHttpTask(*this);
}

HINTERNET CHttpManager::Session() {
    // Opening a session reads the proxy configuration; once per process keeps that off every transfer.
    ::AcquireSRWLockExclusive(&m_lock);
    if (!m_session) {
        m_session = ::WinHttpOpen(L"VexaNetUL/1.0", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0);
    }
    HINTERNET session = m_session;
    ::ReleaseSRWLockExclusive(&m_lock);
    return session;
}

void CHttpManager::Shutdown(DWORD waitMs) {
    // A task whose last reference is going away waits in its destructor for this lock, so the
    // references taken here never resurrect one.
    std::vector<CHttpTask*> tasks;
    ::AcquireSRWLockExclusive(&m_lock);
    for (CHttpTask* task : m_tasks) {
        if (task->TryAddRef()) {
            tasks.push_back(task);
        }
    }
    ::ReleaseSRWLockExclusive(&m_lock);
    for (CHttpTask* task : tasks) {
        task->Silence();
        task->DropRef();
    }
    const ULONGLONG deadline = ::GetTickCount64() + waitMs;
    ::AcquireSRWLockExclusive(&m_lock);
    while (m_transfers > 0) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline || !::SleepConditionVariableSRW(&m_idle, &m_lock, static_cast<DWORD>(deadline - now), 0)) {
            break;
        }
    }
    HINTERNET session = m_transfers == 0 ? std::exchange(m_session, nullptr) : nullptr;
    ::ReleaseSRWLockExclusive(&m_lock);
    if (session) {
        ::WinHttpCloseHandle(session);
    }
}

void CHttpManager::TaskCreated(CHttpTask* task) {
    ::AcquireSRWLockExclusive(&m_lock);
    m_tasks.insert(task);
    ::ReleaseSRWLockExclusive(&m_lock);
}

void CHttpManager::TaskDestroyed(CHttpTask* task) {
    ::AcquireSRWLockExclusive(&m_lock);
    m_tasks.erase(task);
    ::ReleaseSRWLockExclusive(&m_lock);
}

void CHttpManager::TransferStarted() {
    ::AcquireSRWLockExclusive(&m_lock);
    ++m_transfers;
    ::ReleaseSRWLockExclusive(&m_lock);
}

void CHttpManager::TransferEnded() {
    ::AcquireSRWLockExclusive(&m_lock);
    const bool idle = --m_transfers == 0;
    ::ReleaseSRWLockExclusive(&m_lock);
    if (idle) {
        ::WakeAllConditionVariable(&m_idle);
    }
}
