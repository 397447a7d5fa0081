#include "companions/netul/HttpManager.h"

#include "companions/netul/HttpTask.h"

#include <vector>

CHttpManager::CHttpManager() : m_idle(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

CHttpManager::~CHttpManager() {
    if (m_idle) {
        ::CloseHandle(m_idle);
    }
}

IHttpTask* STDMETHODCALLTYPE CHttpManager::CreateTask() {
    return new CHttpTask(*this);
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
    ::WaitForSingleObject(m_idle, waitMs);
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
    if (m_transfers++ == 0) {
        ::ResetEvent(m_idle);
    }
    ::ReleaseSRWLockExclusive(&m_lock);
}

void CHttpManager::TransferEnded() {
    ::AcquireSRWLockExclusive(&m_lock);
    if (--m_transfers == 0) {
        ::SetEvent(m_idle);
    }
    ::ReleaseSRWLockExclusive(&m_lock);
}
