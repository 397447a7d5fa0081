#pragma once

#include <windows.h>

#include <map>

#include "app/base/DeskMessages.h"
#include "app/base/sigslot.h"
#include "app/shell/ForwardedCommandQueue.h"
#include "layer/LayerWindowBase.h"

using CMainWndTraits = CWinTraits<WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MINIMIZEBOX, 0>;

// The process's one permanent window: invisible, at the bottom of the z-order, owner of every
// widget. It turns command lines into widget commands, keeps the record of open widgets and ends
// the process when idle, when the wallpaper application goes away, or on request. Its traits are not
// layered, so the base paints it through WM_PAINT.
class CMainWnd : public CLayerWindowBase<CMainWnd, CMainWndTraits>,
                 public sigslot::has_slots<sigslot::multi_threaded_local> {
public:
    static constexpr UINT kWatchTimer = 1;
    static constexpr UINT kWatchPeriodMs = 1000;
    static constexpr UINT kIdleTimer = 2;
    static constexpr UINT kIdleDelayMs = 3000;

    static const wchar_t* GetWndClassName() { return L"VexawpMainWndClass"; }

    BEGIN_LAYER_MSG_MAP()
    MSG_WM_COPYDATA(OnCopyData)
    MESSAGE_HANDLER(WM_DESK_CMDLINE, OnDeskCommandLine)
    MESSAGE_HANDLER(WM_DESK_WIDGET_STATE, OnWidgetState)
    MSG_WM_WINDOWPOSCHANGING(OnWindowPosChanging)
    MSG_WM_WINDOWPOSCHANGED(OnWindowPosChanged)
    MSG_WM_CLOSE(OnClose)
    END_MSG_MAP()

    void OnLayerCreate() override;
    void OnLayerTimer(UINT id) override;

private:
    LRESULT OnCopyData(HWND from, const COPYDATASTRUCT* data);
    LRESULT OnDeskCommandLine(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnWidgetState(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    void OnWindowPosChanging(WINDOWPOS* pos);
    void OnWindowPosChanged(const WINDOWPOS* pos);
    void OnClose();

    void Dispatch();
    void CheckIdle();
    // Showing the desktop raises the shell's desktop window over every other; the windows it owns go up
    // with it. This window, owner of every widget, is owned by it so the widgets stay in sight, and follows
    // it when the shell restarts or moves its icon view to another window. The system takes only the windows
    // the raised one owns itself up with it, so the widgets follow this window (OnWindowPosChanged).
    void AttachToDesktop();

    // The record of open widgets, by widget id; a widget not in it is closed. It counts a widget as open
    // only while the widget also shows (the monitor can show without counting, after "/closetempmonitor").
    std::map<WPARAM, bool> m_open;
    // Forwarded command lines; WM_DESK_CMDLINE carries none and only runs the oldest.
    CForwardedCommandQueue m_forwarded;
};
