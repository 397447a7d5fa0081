#include "layer/LayerSliderCtrl.h"

#include "layer/Image.h"
#include "layer/LayerControlMath.h"

CLayerSliderCtrl::CLayerSliderCtrl() : CLayerControlBase(kLayerTypeSlider) {
    m_dragThrough = FALSE;
}

RECT CLayerSliderCtrl::ThumbRect() const {
    int width = m_thumbImage ? m_thumbImage->GetFrameWidth() : 0;
    int left = m_rect.left + m_offset;
    return RECT{left, m_rect.top, left + width, m_rect.bottom};
}

bool CLayerSliderCtrl::InThumb(int x, int y) const {
    RECT thumb = ThumbRect();
    return ::PtInRect(&thumb, POINT{x, y}) != FALSE;
}

void CLayerSliderCtrl::SetOffset(int offset, BOOL redraw) {
    Update(m_offset, offset, redraw);
}

void CLayerSliderCtrl::Paint(HDC dc) {
    if (m_trackImage) {
        m_trackImage->DrawFrame(dc, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, 0);
    }
    if (m_thumbImage) {
        RECT thumb = ThumbRect();
        m_thumbImage->DrawFrame(dc, thumb.left, thumb.top, thumb.right - thumb.left, thumb.bottom - thumb.top,
                                m_thumbHot ? 1 : 0);
    }
}

void CLayerSliderCtrl::OnLButtonDown(UINT, int x, int y, BOOL&) {
    // Until the window gives a range there is nothing to drag along.
    m_dragging = m_range > 0 && InThumb(x, y);
    m_anchor = POINT{x, y};
}

void CLayerSliderCtrl::OnMouseMove(UINT, int x, int y) {
    m_thumbHot = InThumb(x, y);
    m_lastPoint = POINT{x, y};
    if (m_dragging) {
        m_offset = SliderDragOffset(m_offset, m_range, m_anchor.x, x);
        m_anchor = POINT{x, y};
        PostCommand(SliderPercent(m_offset, m_range));
    }
    Invalidate(nullptr);
}

void CLayerSliderCtrl::OnMouseHover(UINT, int x, int y) {
    m_thumbHot = InThumb(x, y);
    Invalidate(nullptr);
}

void CLayerSliderCtrl::OnMouseLeave() {
    m_thumbHot = false;
    m_dragging = false;
    Invalidate(nullptr);
}

void CLayerSliderCtrl::OnLButtonUp(UINT, int, int, BOOL&) {
    m_dragging = false;
}
