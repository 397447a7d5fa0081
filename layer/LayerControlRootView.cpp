#include "layer/LayerControlRootView.h"

namespace {

POINT ToControl(ILayerControl* control, int x, int y) {
    POINT point{x, y};
    control->WindowToControl(&point);
    return point;
}

} // namespace

void CLayerControlRootView::HideToolTip() {
    if (m_window) {
        m_window->ShowToolTip(FALSE, std::wstring());
    }
}

void CLayerControlRootView::UpdateToolTip(ILayerControl* control) {
    if (!m_window) {
        return;
    }
    if (!control->IsToolTipEnabled()) {
        m_window->ShowToolTip(FALSE, std::wstring());
        return;
    }
    std::wstring text = control->GetToolTip();
    m_window->ShowToolTip(!text.empty(), text);
}

void CLayerControlRootView::OnSetCursor(HWND, UINT, UINT, BOOL& handled) {
    handled = FALSE;
    if (m_hoverControl && m_hoverControl->GetCursor()) {
        ::SetCursor(m_hoverControl->GetCursor());
        handled = TRUE;
    }
}

void CLayerControlRootView::OnMouseMove(UINT flags, int x, int y) {
    ILayerControl* control = ChildFromPoint(x, y);
    if (control == m_hoverControl) {
        if (control) {
            POINT point = ToControl(control, x, y);
            control->OnMouseMove(flags, point.x, point.y);
            UpdateToolTip(control);
        }
        return;
    }
    if (m_hoverControl) {
        m_hoverControl->OnMouseLeave();
    }
    HideToolTip();
    if (control) {
        POINT point = ToControl(control, x, y);
        control->OnMouseHover(flags, point.x, point.y);
        UpdateToolTip(control);
    }
    m_hoverControl = control;
}

void CLayerControlRootView::OnMouseLeave() {
    if (m_hoverControl) {
        m_hoverControl->OnMouseLeave();
    }
    if (m_pressedControl && m_pressedControl != m_hoverControl) {
        m_pressedControl->OnMouseLeave();
    }
    m_hoverControl = nullptr;
    m_pressedControl = nullptr;
    HideToolTip();
}

template <class Send> void CLayerControlRootView::Press(int x, int y, BOOL& handled, Send send) {
    ILayerControl* control = ChildFromPoint(x, y);
    if (control && control->IsEnabled()) {
        POINT point = ToControl(control, x, y);
        send(control, point);
        m_pressedControl = control;
    }
    if (!m_pressedControl || m_pressedControl->IsDragThrough()) {
        handled = FALSE;
    }
}

void CLayerControlRootView::OnLButtonDown(UINT flags, int x, int y, BOOL& handled) {
    Press(x, y, handled, [flags, &handled](ILayerControl* control, POINT point) {
        control->OnLButtonDown(flags, point.x, point.y, handled);
    });
}

void CLayerControlRootView::OnLButtonDblClk(UINT flags, int x, int y, BOOL& handled) {
    Press(x, y, handled, [flags, &handled](ILayerControl* control, POINT point) {
        control->OnLButtonDblClk(flags, point.x, point.y, handled);
    });
}

void CLayerControlRootView::OnLButtonUp(UINT flags, int x, int y, BOOL& handled) {
    if (!m_pressedControl) {
        return;
    }
    // Cleared first: the control's handler may remove the control from the tree.
    ILayerControl* control = m_pressedControl;
    m_pressedControl = nullptr;
    POINT point = ToControl(control, x, y);
    control->OnLButtonUp(flags, point.x, point.y, handled);
}
