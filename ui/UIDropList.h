#pragma once

#include <windows.h>

#include "app/base/DpiScale.h"
#include "app/base/WindowImpl.h"
#include "ui/UISurface.h"

class CUICombo;

// The open list of a drop-down: a layered popup below (or, without room, above) its combo that shows up to
// the combo's row count, scrolls with the wheel and hands a clicked row to the combo. It holds the mouse
// while open, so a press anywhere else closes it.
class CUIDropList : public CWindowImplT<CUIDropList, CWinTraits<WS_POPUP, WS_EX_LAYERED | WS_EX_TOOLWINDOW>> {
public:
    static const wchar_t* GetWndClassName() { return L"DesklingUIDropList"; }

    CUIDropList() = default;
    ~CUIDropList() override;

    // Opens the list of the combo of the owner dialog window, drawn at the dialog's DPI; the combo must outlive
    // the open list.
    bool Open(HWND owner, CUICombo* combo, int dpi);
    void Close();
    bool IsOpen() const { return m_combo != nullptr; }
    // Scrolls by whole rows (positive: down).
    void Scroll(int rows);

    BEGIN_MSG_MAP(CUIDropList)
    MSG_WM_MOUSEMOVE(OnMouseMove)
    MSG_WM_LBUTTONDOWN(OnLButtonDown)
    MSG_WM_LBUTTONUP(OnLButtonUp)
    MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
    MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
    MSG_WM_SETCURSOR(OnSetCursor)
    END_MSG_MAP()

private:
    void OnMouseMove(UINT, POINT point);
    void OnLButtonDown(UINT, POINT point);
    void OnLButtonUp(UINT, POINT point);
    LRESULT OnMouseWheel(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL&);
    BOOL OnSetCursor(HWND, UINT, UINT);

    // The item under the client point (in screen pixels), -1 for none.
    int ItemAt(POINT screenPoint) const;
    int VisibleRows() const;
    void Render();

    CUICombo* m_combo = nullptr;
    CUISurface m_surface;
    POINT m_origin{};
    // In 96-DPI pixels, like the dialog's layout; the window is this at m_dpi.
    SIZE m_size{};
    int m_dpi = kBaseDpi;
    int m_top = 0;
    int m_hot = -1;
    bool m_pressedInside = false;
};
