#pragma once

#include "app/base/WindowImpl.h"
#include "companions/wpapp/BarWnd.h"
#include "companions/wpapp/WpappOptions.h"

#include <deque>
#include <string>

// The companion's hidden control window. deskling.exe ends when no window of this class exists, so
// the window's lifetime is the wallpaper application's lifetime. Later companion runs hand their
// command to it with WM_COPYDATA.
class CWallpaperCtrlWnd : public CWindowImplT<CWallpaperCtrlWnd, CWinTraits<WS_POPUP, WS_EX_TOOLWINDOW>> {
public:
    // Tag of the WM_COPYDATA record that carries a later run's full command line (UTF-16, NUL included).
    static constexpr ULONG_PTR kCommandTag = 0x57504150;

    // folder: where deskling.exe is started from (the companion's own folder).
    explicit CWallpaperCtrlWnd(std::wstring folder) : m_folder(std::move(folder)) {}
    ~CWallpaperCtrlWnd() override;

    static const wchar_t* GetWndClassName() { return L"VexaWallPaperCtrlCls"; }

    // Creates the window, never shown.
    bool CreateHidden();
    // Writes the channel id (value PID) under the wallpaper application's key.
    static bool WriteChannel(const std::wstring& channel);
    // Carries out one command: quit, channel id, bars, then deskling.exe with the pass-on switches.
    void Execute(const WpappOptions& options);

    BEGIN_MSG_MAP(CWallpaperCtrlWnd)
    MSG_WM_COPYDATA(OnCopyData)
    MESSAGE_HANDLER(kExecutePending, OnExecutePending)
    MSG_WM_CLOSE(OnClose)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    static constexpr UINT kExecutePending = WM_APP + 1;

    LRESULT OnCopyData(HWND sender, const COPYDATASTRUCT* data);
    LRESULT OnExecutePending(UINT, WPARAM, LPARAM, BOOL&);
    void OnClose();
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);

    bool LaunchDeskling(const std::vector<std::wstring>& switches) const;

    std::wstring m_folder;
    CBarWnd m_switchBar{CBarWnd::Kind::SwitchBar};
    CBarWnd m_fence{CBarWnd::Kind::Fence};
    // Forwarded commands wait here until the sender has been released.
    std::deque<WpappOptions> m_pending;
};
