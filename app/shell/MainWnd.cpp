#include "app/shell/MainWnd.h"

#include <algorithm>
#include <new>

#include "app/AppContext.h"
#include "app/shell/CommandDispatch.h"
#include "app/shell/ForwardedCommandLine.h"
#include "app/RemoveFolderTree.h"
#include "app/base/SmartLogger.h"
#include "app/SystemUtils.h"
#include "app/UIThreadWindow.h"
#include "app/shell/ShellWidgets.h"

namespace {

constexpr const wchar_t* kWallpaperControlClass = L"VexaWallPaperCtrlCls";

// A shown widget of the owner asks for the bottom again, which an owned window reaches just above its owner.
BOOL CALLBACK RestackOwnedWidget(HWND window, LPARAM owner) {
    if (::GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) && ::IsWindowVisible(window)) {
        ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return TRUE;
}

} // namespace

void CMainWnd::OnLayerCreate() {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    CAppContext::GetInstance()->SetMainWnd(m_hWnd);
    // A later instance may run at a lower integrity level and must still reach us.
    AllowWindowMessage(WM_COPYDATA);
    CUIThreadWindow::GetInstance()->Create();
    AttachToDesktop();
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);

    CAppContext::GetInstance()->GetCommandParser().Parse(::GetCommandLineW());
    Dispatch();
    CheckIdle();
    SetTimer(kWatchTimer, kWatchPeriodMs);
}

void CMainWnd::Dispatch() {
    const CCommandParser& parser = CAppContext::GetInstance()->GetCommandParser();
    std::vector<DeskCommand> plan = PlanDispatch([&parser](const std::wstring& key) { return parser.Has(key); });
    for (DeskCommand command : plan) {
        if (command == DeskCommand::Uninstall) {
            RemoveFolderTree(CAppContext::GetInstance()->GetDataFolder());
            PostMessage(WM_CLOSE, 0, 0);
        } else if (command == DeskCommand::Exit) {
            PostMessage(WM_CLOSE, 0, 0);
        }
        for (const ShellWidget& widget : ShellWidgets()) {
            if (command == widget.opens[0] || command == widget.opens[1]) {
                KillTimer(kIdleTimer);
                widget.onOpen(command);
                m_open[widget.id] = true;
            } else if (command == widget.close) {
                if (widget.onClose) {
                    widget.onClose();
                }
                m_open[widget.id] = false;
            }
        }
    }
}

void CMainWnd::CheckIdle() {
    // The idle timer runs only while no widget is open, however the state messages were ordered.
    const auto widgets = ShellWidgets();
    const bool anyOpen = std::any_of(widgets.begin(), widgets.end(), [this](const ShellWidget& widget) {
        return m_open[widget.id] && widget.isShown();
    });
    KillTimer(kIdleTimer);
    if (!anyOpen) {
        SetTimer(kIdleTimer, kIdleDelayMs);
    }
}

void CMainWnd::AttachToDesktop() {
    HWND desktop = FindDesktopWindow();
    if (!desktop || ::GetWindow(m_hWnd, GW_OWNER) == desktop) {
        return;
    }
    ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(desktop));
    WriteLog(L"[tid:%d] attached to the desktop window %p: %d", ::GetCurrentThreadId(), desktop,
             ::GetWindow(m_hWnd, GW_OWNER) == desktop ? 1 : 0);
}

void CMainWnd::OnLayerTimer(UINT id) {
    if (id == kWatchTimer) {
        AttachToDesktop();
        if (!::FindWindowW(kWallpaperControlClass, nullptr)) {
            KillTimer(kWatchTimer);
            PostMessage(WM_CLOSE, 0, 0);
        }
    } else if (id == kIdleTimer) {
        KillTimer(kIdleTimer);
        PostMessage(WM_CLOSE, 0, 0);
    }
}

LRESULT CMainWnd::OnCopyData(HWND, const COPYDATASTRUCT* data) {
    if (!data) {
        return FALSE;
    }
    if (data->dwData != kCopyDataCommandLineTag) {
        return TRUE; // taken and dropped unread, like every record that is no command line
    }
    bool queued = false;
    try {
        queued = m_forwarded.Push(data->lpData, data->cbData);
    } catch (const std::bad_alloc&) {
        // refused below, as a full queue is
    }
    if (!queued) {
        WriteLog(L"[tid:%d] forwarded command line of %u bytes dropped: %u lines of %u bytes wait",
                 ::GetCurrentThreadId(), data->cbData, static_cast<unsigned>(m_forwarded.Count()),
                 static_cast<unsigned>(m_forwarded.Bytes()));
        return FALSE;
    }
    // The sender waits only for the copy; widgets open later, from the queue.
    if (!PostMessage(WM_DESK_CMDLINE, 0, 0)) {
        m_forwarded.DropNewest();
        return FALSE;
    }
    return TRUE;
}

LRESULT CMainWnd::OnDeskCommandLine(UINT, WPARAM, LPARAM, BOOL&) {
    std::optional<std::wstring> text = m_forwarded.Pop();
    if (!text) {
        return 0;
    }
    WriteLog(L"MSG_COPYDATA_CMD_LINE %s", text->c_str());
    CAppContext::GetInstance()->GetCommandParser().Parse(*text);
    Dispatch();
    return 1;
}

LRESULT CMainWnd::OnWidgetState(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    const bool open = lParam != 0;
    for (const ShellWidget& widget : ShellWidgets()) {
        if (widget.id != wParam) {
            continue;
        }
        // A message queued before the widget changed again, or one from another process, says what the
        // widget no longer is (or never was).
        if (open == widget.isShown()) {
            m_open[widget.id] = open;
        } else {
            WriteLog(L"[tid:%d] widget %u state %d ignored: not its state", ::GetCurrentThreadId(),
                     static_cast<unsigned>(wParam), open ? 1 : 0);
        }
    }
    CheckIdle();
    return 0;
}

void CMainWnd::OnWindowPosChanging(WINDOWPOS* pos) {
    if (pos) {
        pos->hwndInsertAfter = HWND_BOTTOM;
    }
}

void CMainWnd::OnWindowPosChanged(const WINDOWPOS* pos) {
    // Default processing still turns the change into WM_MOVE and WM_SIZE.
    SetMsgHandled(FALSE);
    if (!pos || (pos->flags & SWP_NOZORDER)) {
        return;
    }
    ::EnumThreadWindows(::GetCurrentThreadId(), RestackOwnedWidget, reinterpret_cast<LPARAM>(m_hWnd));
}

void CMainWnd::OnClose() {
    DestroyWindow();
    ::PostQuitMessage(0);
}
