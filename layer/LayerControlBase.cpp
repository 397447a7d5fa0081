#include "layer/LayerControlBase.h"

#include <new>

void CLayerControlBase::Release() {
    delete this;
}

void CLayerControlBase::SetPage(int page, BOOL redraw) {
    if (m_page == page) {
        return;
    }
    m_page = page;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerControlBase::SetVisible(BOOL visible, BOOL redraw) {
    visible = visible ? TRUE : FALSE;
    if (m_visible == visible) {
        return;
    }
    m_visible = visible;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerControlBase::SetEnabled(BOOL enabled, BOOL redraw) {
    enabled = enabled ? TRUE : FALSE;
    if (m_enabled == enabled) {
        return;
    }
    m_enabled = enabled;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerControlBase::GetWindowRect(RECT* rect) {
    if (rect) {
        *rect = m_rect;
        ControlToWindow(rect);
    }
}

void CLayerControlBase::GetRect(RECT* rect) {
    if (rect) {
        *rect = m_rect;
    }
}

void CLayerControlBase::GetPos(POINT* point) {
    if (point) {
        *point = {m_rect.left, m_rect.top};
    }
}

void CLayerControlBase::SetRect(const RECT& rect, BOOL redraw) {
    if (::EqualRect(&rect, &m_rect)) {
        return;
    }
    RECT oldWindowRect = m_rect;
    ControlToWindow(&oldWindowRect);
    RECT newWindowRect = rect;
    ControlToWindow(&newWindowRect);
    RECT both{};
    ::UnionRect(&both, &oldWindowRect, &newWindowRect);
    m_rect = rect;
    OnSize(rect.left, rect.top, rect.right, rect.bottom);
    if (redraw) {
        Invalidate(&both);
    }
}

void CLayerControlBase::SetBounds(int x, int y, int cx, int cy, BOOL redraw) {
    SetRect(RECT{x, y, x + cx, y + cy}, redraw);
}

void CLayerControlBase::SetText(const std::wstring& text, BOOL redraw) {
    if (m_text == text) {
        return;
    }
    m_text = text;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerControlBase::SetTextColor(COLORREF color, BOOL redraw) {
    if (m_textColor == color) {
        return;
    }
    m_textColor = color;
    if (redraw) {
        Invalidate(nullptr);
    }
}

BOOL CLayerControlBase::HitTest(int x, int y) {
    RECT windowRect{};
    GetWindowRect(&windowRect);
    return ::PtInRect(&windowRect, POINT{x, y});
}

void CLayerControlBase::Invalidate(const RECT* rect) {
    if (!m_window) {
        return;
    }
    RECT dirty{};
    if (rect) {
        dirty = *rect;
    } else {
        GetWindowRect(&dirty);
    }
    m_window->InvalidateRect(&dirty, FALSE);
}

void CLayerControlBase::MoveTo(int x, int y, BOOL redraw) {
    SetBounds(x, y, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, redraw);
}

void CLayerControlBase::Offset(int dx, int dy, BOOL redraw) {
    MoveTo(m_rect.left + dx, m_rect.top + dy, redraw);
}

void CLayerControlBase::Resize(int cx, int cy, BOOL redraw) {
    if (cx == -1) {
        cx = m_rect.right - m_rect.left;
    }
    if (cy == -1) {
        cy = m_rect.bottom - m_rect.top;
    }
    SetBounds(m_rect.left, m_rect.top, cx, cy, redraw);
}

void CLayerControlBase::SetInteractive(BOOL interactive) {
    m_interactive = interactive;
    SetDragThrough(!interactive);
}

POINT CLayerControlBase::ParentOrigin() {
    if (!m_parent) {
        return POINT{0, 0};
    }
    RECT parentRect{};
    m_parent->GetWindowRect(&parentRect);
    return POINT{parentRect.left, parentRect.top};
}

void CLayerControlBase::ControlToWindow(RECT* rect) {
    if (rect) {
        POINT origin = ParentOrigin();
        ::OffsetRect(rect, origin.x, origin.y);
    }
}

void CLayerControlBase::ControlToWindow(POINT* point) {
    if (point) {
        POINT origin = ParentOrigin();
        point->x += origin.x;
        point->y += origin.y;
    }
}

void CLayerControlBase::WindowToControl(RECT* rect) {
    if (rect) {
        POINT origin = ParentOrigin();
        ::OffsetRect(rect, -origin.x, -origin.y);
    }
}

void CLayerControlBase::WindowToControl(POINT* point) {
    if (point) {
        POINT origin = ParentOrigin();
        point->x -= origin.x;
        point->y -= origin.y;
    }
}

void CLayerControlBase::PostCommand(LPARAM lParam) {
    if (m_window) {
        m_window->PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(m_id), 0), lParam);
    }
}

void CLayerControlBase::OnLButtonDblClk(UINT flags, int x, int y, BOOL& handled) {
    OnLButtonDown(flags, x, y, handled);
}

BOOL CLayerControlBase::Create(HWND hostWindow, ILayerWindow* window, int id, const RECT& rect, UINT styleFlags) {
    m_hostWindow = hostWindow;
    m_window = window;
    m_id = id;
    m_styleFlags = styleFlags;
    m_rect = rect;
    OnCreate(hostWindow);
    SetRect(rect, FALSE);
    return TRUE;
}

BOOL CLayerControlBase::Create(HWND hostWindow, ILayerWindow* window, int id, int x, int y, int cx, int cy,
                               UINT styleFlags) {
    return Create(hostWindow, window, id, RECT{x, y, x + cx, y + cy}, styleFlags);
}
