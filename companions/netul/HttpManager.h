#pragma once

#include "app/base/IHttpTask.h"

#include <set>

#include <winhttp.h>

class CHttpTask;

// The library's one manager. Keeps the tasks that exist so that shutdown can silence them and wait,
// for a bounded time, for their transfer threads to end.
class CHttpManager final : public IHttpManager {
public:
    CHttpManager() = default;
    CHttpManager(const CHttpManager&) = delete;
    CHttpManager& operator=(const CHttpManager&) = delete;

    IHttpTask* STDMETHODCALLTYPE CreateTask() override;

    // The WinHTTP session every transfer shares, opened by the first one; null when it cannot be opened.
    HINTERNET Session();

    // Silences every task and waits up to waitMs for running transfers to end; the session closes once
    // none runs.
    void Shutdown(DWORD waitMs);

    void TaskCreated(CHttpTask* task);
    void TaskDestroyed(CHttpTask* task);
    void TransferStarted();
    void TransferEnded();

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
    std::set<CHttpTask*> m_tasks;
    int m_transfers = 0;
    // Woken when the last transfer ends. Unlike an event it costs nothing while no one waits, and under
    // Wine an event costs a server round trip each time it is set.
    CONDITION_VARIABLE m_idle = CONDITION_VARIABLE_INIT;
    HINTERNET m_session = nullptr;
};
