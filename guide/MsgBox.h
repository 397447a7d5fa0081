#pragma once

#include <windows.h>

#include <string>

#include "guide/IMsgBoxCallBack.h"
#include "layer/LayerWindowBase.h"

// A layered tool window without a taskbar button.
using CMsgBoxTraits =
    CWinTraits<WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MINIMIZEBOX, WS_EX_LAYERED | WS_EX_TOOLWINDOW>;

// The skinned question box that offers to install the hardware tool: a fixed prompt, OK, Cancel and a
// close button. Its owner object embeds it; the window is created on the first Show and afterwards only
// hidden and shown. An answer hides the box first and then tells the callback, which may show it again.
class CMsgBox : public CLayerWindowBase<CMsgBox, CMsgBoxTraits> {

public:
    enum Result { kResultOk = 0, kResultCancel = 1, kResultClosed = 2 };
    enum ControlId { kIdClose = 1001, kIdOk = 1002, kIdCancel = 1003 };
    static constexpr int kWidth = 310;
    static constexpr int kHeight = 129;

    CMsgBox() = default;
    ~CMsgBox() override;

    static const wchar_t* GetWndClassName() { return L"DesklingMsgBox"; }

    // The window centred on and owning the box; null leaves it unowned on the nearest work area. Takes
    // effect when the window is created.
    void SetOwnerWindow(HWND owner) { m_owner = owner; }
    // Not owned; null means an answer only hides the box.
    void SetCallBack(IMsgBoxCallBack* callback) { m_callback = callback; }
    void SetTag(const std::wstring& tag) { m_tag = tag; }

    // Creates the window on first use, centres it on the owner and shows it activated.
    bool Show();
    void Hide();

    void OnLayerCreate() override;

    BEGIN_LAYER_MSG_MAP()
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()

private:
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled);
    void Answer(int result);

    std::wstring m_tag;
    IMsgBoxCallBack* m_callback = nullptr;
    HWND m_owner = nullptr;
};
