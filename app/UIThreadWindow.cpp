#include "app/UIThreadWindow.h"

#include "app/base/DHAutoLock.h"
#include "app/base/SmartLogger.h"

#include <exception>

namespace {

// A task is foreign code running inside a window procedure: nothing it throws may unwind into the system.
void RunTask(ISimpleBind* task) noexcept {
    try {
        task->Run();
    } catch (const std::exception& e) {
        WriteLog(L"[tid:%d] CUIThreadWindow: task threw: %hs", ::GetCurrentThreadId(), e.what());
    } catch (...) {
        WriteLog(L"[tid:%d] CUIThreadWindow: task threw", ::GetCurrentThreadId());
    }
}

} // namespace

CUIThreadWindow::~CUIThreadWindow() {
    Destroy();
}

bool CUIThreadWindow::Create() {
    if (IsWindow()) {
        return true;
    }
    HWND hwnd = CWindowImplT::Create(nullptr, nullptr);
    if (!hwnd) {
        WriteLog(L"[tid:%d] CUIThreadWindow::Create failed, error %u", ::GetCurrentThreadId(), ::GetLastError());
        return false;
    }
    m_target.store(hwnd);
    return true;
}

void CUIThreadWindow::Destroy() {
    if (IsWindow()) {
        DestroyWindow();
    }
    m_target.store(nullptr);
}

WPARAM CUIThreadWindow::NextTicket() {
    if (++m_lastTicket == 0) {
        ++m_lastTicket;
    }
    return m_lastTicket;
}

bool CUIThreadWindow::RunOnUIThread(ISimpleBind* task) {
    HWND target = m_target.load();
    if (!task || !target) {
        return false;
    }
    if (::GetWindowThreadProcessId(target, nullptr) == ::GetCurrentThreadId()) {
        RunTask(task);
        return true;
    }
    WPARAM ticket = 0;
    {
        CDHAutoLock lock(m_lock);
        ticket = NextTicket();
        m_sent[ticket] = SentTask{task, false};
    }
    ::SendMessageW(target, WM_UITASK_SEND, ticket, 0);
    CDHAutoLock lock(m_lock);
    auto sent = m_sent.find(ticket);
    const bool ran = sent->second.ran;
    m_sent.erase(sent);
    return ran;
}

bool CUIThreadWindow::PostToUIThread(ISimpleBind* task) {
    std::unique_ptr<ISimpleBind> owned(task);
    if (!owned) {
        return false;
    }
    HWND target = nullptr;
    WPARAM ticket = 0;
    {
        CDHAutoLock lock(m_lock);
        target = m_target.load();
        if (!target) {
            return false;
        }
        ticket = NextTicket();
        m_posted.emplace_back(ticket, std::move(owned));
    }
    if (::PostMessageW(target, WM_UITASK_POST, 0, 0)) {
        return true;
    }
    const DWORD error = ::GetLastError();
    // No wake-up will come for it: take it back, unless another wake-up has already run it.
    std::unique_ptr<ISimpleBind> unposted;
    {
        CDHAutoLock lock(m_lock);
        for (auto it = m_posted.begin(); it != m_posted.end(); ++it) {
            if (it->first == ticket) {
                unposted = std::move(it->second);
                m_posted.erase(it);
                break;
            }
        }
    }
    WriteLog(L"[tid:%d] CUIThreadWindow: task not posted, error %u", ::GetCurrentThreadId(), error);
    return false;
}

LRESULT CUIThreadWindow::OnTaskSend(UINT, WPARAM wParam, LPARAM, BOOL&) {
    ISimpleBind* task = nullptr;
    {
        CDHAutoLock lock(m_lock);
        auto sent = m_sent.find(wParam);
        if (sent != m_sent.end() && !sent->second.ran) {
            sent->second.ran = true;
            task = sent->second.task;
        }
    }
    if (!task) {
        return 0;
    }
    RunTask(task);
    return 1;
}

LRESULT CUIThreadWindow::OnTaskPost(UINT, WPARAM, LPARAM, BOOL&) {
    std::unique_ptr<ISimpleBind> task;
    {
        CDHAutoLock lock(m_lock);
        if (m_posted.empty()) {
            return 0;
        }
        task = std::move(m_posted.front().second);
        m_posted.pop_front();
    }
    RunTask(task.get());
    return 1;
}

LRESULT CUIThreadWindow::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    // New posts fail from here on and free their task; the ones still waiting would never run, so free
    // them now, outside the lock, since a task's destructor may post again.
    std::deque<std::pair<WPARAM, std::unique_ptr<ISimpleBind>>> dropped;
    {
        CDHAutoLock lock(m_lock);
        m_target.store(nullptr);
        dropped.swap(m_posted);
    }
    bHandled = FALSE;
    return 0;
}

bool RunOnUIThread(ISimpleBind* task) {
    return CUIThreadWindow::HasInstance() && CUIThreadWindow::GetInstance()->RunOnUIThread(task);
}

bool PostToUIThread(ISimpleBind* task) {
    if (!CUIThreadWindow::HasInstance()) {
        delete task;
        return false;
    }
    return CUIThreadWindow::GetInstance()->PostToUIThread(task);
}
