#include "app/UIThreadWindow.h"

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

bool CUIThreadWindow::RunOnUIThread(ISimpleBind* task) {
    HWND target = m_target.load();
    if (!task || !target) {
        return false;
    }
    if (::GetWindowThreadProcessId(target, nullptr) == ::GetCurrentThreadId()) {
        RunTask(task);
        return true;
    }
    return ::SendMessageW(target, WM_UITASK_SEND, reinterpret_cast<WPARAM>(task), 0) == 1;
}

bool CUIThreadWindow::PostToUIThread(ISimpleBind* task) {
    if (!task) {
        return false;
    }
    HWND target = m_target.load();
    if (!target || !::PostMessageW(target, WM_UITASK_POST, reinterpret_cast<WPARAM>(task), 0)) {
        delete task;
        return false;
    }
    return true;
}

LRESULT CUIThreadWindow::OnTaskSend(UINT, WPARAM wParam, LPARAM, BOOL&) {
    auto* task = reinterpret_cast<ISimpleBind*>(wParam);
    if (!task) {
        return 0;
    }
    RunTask(task);
    return 1;
}

LRESULT CUIThreadWindow::OnTaskPost(UINT, WPARAM wParam, LPARAM, BOOL&) {
    auto* task = reinterpret_cast<ISimpleBind*>(wParam);
    if (!task) {
        return 0;
    }
    RunTask(task);
    delete task;
    return 1;
}

LRESULT CUIThreadWindow::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    // New posts fail from here on and free their task; the ones already queued would be dropped with
    // the window, so free them now.
    m_target.store(nullptr);
    MSG msg;
    while (::PeekMessageW(&msg, m_hWnd, WM_UITASK_POST, WM_UITASK_POST, PM_REMOVE)) {
        delete reinterpret_cast<ISimpleBind*>(msg.wParam);
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
