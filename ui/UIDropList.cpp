#include "ui/UIDropList.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/UICombo.h"
#include "ui/UIPaint.h"

namespace {

constexpr int kPadding = 4;
constexpr int kGap = 2;
constexpr float kRadius = 6.0f;
constexpr uint32_t kBorder = 0xFF4A4F57;
constexpr uint32_t kThumb = 0x90FFFFFF;

} // namespace

CUIDropList::~CUIDropList() {
    Close();
    DestroyWindow();
}

bool CUIDropList::Open(HWND owner, CUICombo* combo, int dpi) {
    Close();
    if (!combo || combo->GetCount() == 0) {
        return false;
    }
    if (!IsWindow() && !Create(owner, nullptr)) {
        return false;
    }
    m_combo = combo;
    m_dpi = dpi;
    const CUICombo::ListLook& look = combo->GetListLook();
    const RECT anchor = combo->GetPos();
    m_size = SIZE{anchor.right - anchor.left, VisibleRows() * look.itemHeight + 2 * kPadding};
    const SIZE shown{ScaleToDpi(m_size.cx, dpi), ScaleToDpi(m_size.cy, dpi)};
    POINT below{ScaleToDpi(anchor.left, dpi), ScaleToDpi(anchor.bottom + kGap, dpi)};
    ::ClientToScreen(owner, &below);
    m_origin = below;
    // Without room below on the monitor's work area, the list opens above its combo.
    MONITORINFO monitor{sizeof(monitor), {}, {}, 0};
    if (::GetMonitorInfoW(::MonitorFromPoint(below, MONITOR_DEFAULTTONEAREST), &monitor) &&
        below.y + shown.cy > monitor.rcWork.bottom) {
        m_origin.y = below.y - ScaleToDpi(kGap + (anchor.bottom - anchor.top) + kGap, dpi) - shown.cy;
    }
    const int selected = combo->GetCurSel();
    m_top = std::clamp(selected - VisibleRows() / 2, 0, combo->GetCount() - VisibleRows());
    m_hot = -1;
    m_pressedInside = false;
    Render();
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_origin.x, m_origin.y, shown.cx, shown.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::SetCapture(m_hWnd);
    return true;
}

void CUIDropList::Close() {
    if (!m_combo) {
        return;
    }
    // Cleared first: giving the mouse back reports a capture change, which closes an open list.
    m_combo = nullptr;
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void CUIDropList::Scroll(int rows) {
    if (!m_combo) {
        return;
    }
    const int top = std::clamp(m_top + rows, 0, m_combo->GetCount() - VisibleRows());
    if (top != m_top) {
        m_top = top;
        Render();
    }
}

int CUIDropList::VisibleRows() const {
    return m_combo ? std::min(m_combo->GetCount(), m_combo->GetListLook().maxRows) : 0;
}

int CUIDropList::ItemAt(POINT screenPoint) const {
    const POINT point{LayoutPixelAt(screenPoint.x, m_dpi), LayoutPixelAt(screenPoint.y, m_dpi)};
    if (!m_combo || point.x < 0 || point.x >= m_size.cx || point.y < kPadding) {
        return -1;
    }
    const int row = (point.y - kPadding) / m_combo->GetListLook().itemHeight;
    return row < VisibleRows() ? m_top + row : -1;
}

void CUIDropList::OnMouseMove(UINT, POINT point) {
    const int hot = ItemAt(point);
    if (hot != m_hot) {
        m_hot = hot;
        Render();
    }
}

void CUIDropList::OnLButtonDown(UINT, POINT point) {
    m_pressedInside = ItemAt(point) >= 0;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (!m_pressedInside && !::PtInRect(&client, point)) {
        Close();
    }
}

void CUIDropList::OnLButtonUp(UINT, POINT point) {
    const int item = ItemAt(point);
    if (!m_pressedInside || item < 0) {
        return;
    }
    CUICombo* combo = m_combo;
    Close();
    combo->PickItem(item);
}

LRESULT CUIDropList::OnMouseWheel(UINT, WPARAM wParam, LPARAM, BOOL&) {
    Scroll(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1);
    return 0;
}

LRESULT CUIDropList::OnCaptureChanged(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (reinterpret_cast<HWND>(lParam) != m_hWnd) {
        Close();
    }
    return 0;
}

BOOL CUIDropList::OnSetCursor(HWND, UINT, UINT) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

void CUIDropList::Render() {
    if (!m_combo || !m_surface.Begin(m_size.cx, m_size.cy, m_dpi)) {
        return;
    }
    Gdiplus::Graphics& g = *m_surface.Graphics();
    const CUICombo::ListLook& look = m_combo->GetListLook();
    const float width = static_cast<float>(m_size.cx);
    const Gdiplus::RectF frame(0, 0, width, static_cast<float>(m_size.cy));
    FillUIRoundRect(g, frame, kRadius, look.backColor);
    FrameUIRoundRect(g, frame, kRadius, kBorder);
    const Gdiplus::Font* font = m_combo->ItemFont();
    const bool scrolls = m_combo->GetCount() > VisibleRows();
    const float textRight = width - (scrolls ? 10.0f : 4.0f);
    for (int row = 0; row < VisibleRows(); ++row) {
        const int item = m_top + row;
        const Gdiplus::RectF box(3, static_cast<float>(kPadding + row * look.itemHeight), textRight - 3,
                                 static_cast<float>(look.itemHeight));
        if (item == m_hot) {
            FillUIRoundRect(g, box, 4, look.hotColor);
        }
        const uint32_t color = item == m_hot                  ? 0xFFFFFFFF
                               : item == m_combo->GetCurSel() ? look.selectedTextColor
                                                              : look.textColor;
        if (font) {
            DrawUIText(g, m_combo->GetItemText(item), *font,
                       Gdiplus::RectF(box.X + 8, box.Y, box.Width - 8, box.Height), color, UIAlign::Left);
        }
    }
    if (scrolls) {
        const float track = static_cast<float>(m_size.cy - 2 * kPadding);
        const float count = static_cast<float>(m_combo->GetCount());
        const float thumb = std::max(12.0f, track * static_cast<float>(VisibleRows()) / count);
        const float top = kPadding + (track - thumb) * static_cast<float>(m_top) / (count - VisibleRows());
        FillUIRoundRect(g, Gdiplus::RectF(width - 7, top, 3, thumb), 1.5f, kThumb);
    }
    m_surface.Present(m_hWnd, m_origin);
}
