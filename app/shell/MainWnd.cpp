#include "app/shell/MainWnd.h"

#include <cstdlib>
#include <cstring>
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

void FreeRecord(CCopyDataRecord* record) {
    if (record) {
        std::free(record->data);
        delete record;
    }
}

} // namespace

void CMainWnd::OnLayerCreate() {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    CAppContext::GetInstance()->SetMainWnd(m_hWnd);
    // A later instance may run at a lower integrity level and must still reach us.
    AllowWindowMessage(WM_COPYDATA);
    CUIThreadWindow::GetInstance()->Create();
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
    for (const auto& [id, open] : m_open) {
        if (open) {
            return;
        }
    }
    KillTimer(kIdleTimer);
    SetTimer(kIdleTimer, kIdleDelayMs);
}

void CMainWnd::OnLayerTimer(UINT id) {
    if (id == kWatchTimer) {
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
    auto* record = new (std::nothrow) CCopyDataRecord{static_cast<uint32_t>(data->dwData), data->cbData, nullptr};
    if (!record) {
        return FALSE;
    }
    if (data->cbData != 0) {
        record->data = data->lpData ? std::malloc(data->cbData) : nullptr;
        if (!record->data) {
            FreeRecord(record);
            return FALSE;
        }
        std::memcpy(record->data, data->lpData, data->cbData);
    }
    // The sender waits only for the copy; widgets open later, from the queue.
    if (!PostMessage(WM_DESK_CMDLINE, 0, reinterpret_cast<LPARAM>(record))) {
        FreeRecord(record);
        return FALSE;
    }
    return TRUE;
}

LRESULT CMainWnd::OnDeskCommandLine(UINT, WPARAM, LPARAM lParam, BOOL&) {
    auto* record = reinterpret_cast<CCopyDataRecord*>(lParam);
    if (!record) {
        return 0;
    }
    if (record->tag == kCopyDataCommandLineTag) {
        std::wstring text = ForwardedCommandLineText(record->data, record->bytes);
        WriteLog(L"MSG_COPYDATA_CMD_LINE %s", text.c_str());
        CAppContext::GetInstance()->GetCommandParser().Parse(text);
        Dispatch();
    }
    FreeRecord(record);
    return 1;
}

LRESULT CMainWnd::OnWidgetState(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    for (const ShellWidget& widget : ShellWidgets()) {
        if (widget.id == wParam) {
            m_open[widget.id] = lParam != 0;
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

void CMainWnd::OnClose() {
    DestroyWindow();
    ::PostQuitMessage(0);
}
