#pragma once

#include <windows.h>

#include "guide/GuidePlacement.h"
#include "layer/LayerWindowBase.h"

class CLayerButtonCtrl;
class CLayerImageCtrl;

// A layered tool window without a taskbar button.
using CGuideWndTraits = CWinTraits<WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_LAYERED | WS_EX_TOOLWINDOW>;

// The first-run balloon of guide mode: it points at the wallpaper application's desktop icon and offers to
// open the application. It is the only window of its process. Either button hides it, and three seconds later
// it closes and ends the message loop; so does an icon that cannot be found, with the balloon never shown.
class CGuideWnd : public CLayerWindowBase<CGuideWnd, CGuideWndTraits> {
public:
    enum ControlId { kIdClose = 1, kIdOpen = 2 };
    static constexpr UINT kCloseTimer = 2;
    static constexpr UINT kCloseDelayMs = 3000;

    static const wchar_t* GetWndClassName() { return L"VexawpGuideWndClass"; }

    BEGIN_LAYER_MSG_MAP()
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MSG_WM_CLOSE(OnClose)
    END_MSG_MAP()

    // Builds the balloon, shows it at the icon and records that the guide has had its one showing.
    void OnLayerCreate() override;
    void OnLayerTimer(UINT id) override;

private:
    LRESULT OnCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    void OnClose();

    void BuildControls();
    void ShowAtIcon();
    void MoveTo(const GuidePlacement& place);
    void Dismiss();
    void LaunchWallpaperApp();
    void CloseLater();

    CLayerImageCtrl* m_background = nullptr;
    CLayerButtonCtrl* m_close = nullptr;
};
