#pragma once

#include "app/base/DHCriticalSection.h"
#include "app/base/DeskMessages.h"
#include "app/base/SimpleBind.h"
#include "app/base/SingletonT.h"
#include "app/base/WindowImpl.h"

#include <windows.h>

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <utility>

// The hidden window that runs tasks on the UI thread. The main window creates it while it is being
// created, so it belongs to the UI thread; before that (and in guide mode) marshalled tasks do not run.
// Any process on the desktop can post its messages, so they carry no pointer: the tasks wait in the
// window's own queues and a message only tells the window to run the next one.
class CUIThreadWindow : public CWindowImplT<CUIThreadWindow, CWinTraits<WS_POPUP, 0>>,
                        public CSingletonT<CUIThreadWindow> {
    friend class CSingletonT<CUIThreadWindow>;

public:
    static const wchar_t* GetWndClassName() { return L"DesklingUIThreadWindow"; }

    // Creates the window on the calling thread, which becomes the thread tasks run on.
    bool Create();
    void Destroy();
    HWND GetTarget() const { return m_target.load(); }

    // Runs the task on the UI thread and returns once it has run; the caller keeps the task. On the UI
    // thread itself it runs at once. False, with nothing run, when there is no window.
    bool RunOnUIThread(ISimpleBind* task);
    // Takes ownership of a heap task: the UI thread runs and destroys it. A task that cannot be
    // posted is destroyed here without running. Returns whether it was posted.
    bool PostToUIThread(ISimpleBind* task);

    BEGIN_MSG_MAP(CUIThreadWindow)
    MESSAGE_HANDLER(WM_UITASK_SEND, OnTaskSend)
    MESSAGE_HANDLER(WM_UITASK_POST, OnTaskPost)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    CUIThreadWindow() = default;
    ~CUIThreadWindow() override;

    LRESULT OnTaskSend(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnTaskPost(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    // Under m_lock; never 0, which a null wParam would look like.
    WPARAM NextTicket();

    // Read by worker threads; m_hWnd is the UI thread's own.
    std::atomic<HWND> m_target{nullptr};

    // A sent task stays its sender's; ran tells the sender whether the UI thread got to it.
    struct SentTask {
        ISimpleBind* task;
        bool ran;
    };
    // Guards the queues and the ticket count; cleared together with m_target when the window goes.
    CDHCriticalSection m_lock;
    // Sent tasks by the ticket their message carries: a forged ticket finds nothing, or a task whose
    // sender is still waiting for it.
    std::map<WPARAM, SentTask> m_sent;
    // Posted tasks in order, with the ticket that takes one back when its wake-up cannot be posted.
    std::deque<std::pair<WPARAM, std::unique_ptr<ISimpleBind>>> m_posted;
    WPARAM m_lastTicket = 0;
};

// The process's marshalling calls, through the CUIThreadWindow singleton when it exists.
bool RunOnUIThread(ISimpleBind* task);
bool PostToUIThread(ISimpleBind* task);
