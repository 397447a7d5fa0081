#pragma once

#include "app/base/WindowImpl.h"

#include <string>

// One of the wallpaper application's desktop bars (class "VexaDirectUICls"), which deskling's widgets
// keep themselves beneath: a plain painted strip that never takes activation.
class CBarWnd
    : public CWindowImplT<CBarWnd, CWinTraits<WS_POPUP | WS_CLIPSIBLINGS, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE>> {
public:
    enum class Kind { SwitchBar, Fence };

    explicit CBarWnd(Kind kind) : m_kind(kind) {}
    ~CBarWnd() override;

    static const wchar_t* GetWndClassName() { return L"VexaDirectUICls"; }
    static const wchar_t* TitleOf(Kind kind);

    // Shows the bar without activating it, creating it owned by owner on first use; hides it if it exists.
    void Show(HWND owner, bool show);

    BEGIN_MSG_MAP(CBarWnd)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    END_MSG_MAP()

private:
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    RECT Placement() const;

    Kind m_kind;
};
