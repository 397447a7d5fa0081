#include "layer/LayerButtonCtrl.h"

#include "layer/Image.h"
#include "layer/LayerText.h"

CLayerButtonCtrl::CLayerButtonCtrl(int type) : CLayerControlBase(type) {
    m_dragThrough = FALSE;
}

void CLayerButtonCtrl::SetImage(CImage* image, BOOL redraw) {
    Update(m_image, image, redraw);
}

void CLayerButtonCtrl::SetStateColors(COLORREF normal, COLORREF hot, COLORREF pressed, COLORREF disabled) {
    m_stateColors = ButtonStateColors{normal, hot, pressed, disabled};
}

void CLayerButtonCtrl::Paint(HDC dc) {
    bool disabled = !m_enabled;
    if (m_image && m_image->IsValid()) {
        int frame = ButtonFrame(m_image->GetFrameCount(), disabled, m_pressed, m_hot);
        m_image->DrawFrame(dc, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, frame);
    }
    COLORREF color = ButtonTextColor(m_textColor, m_stateColorsEnabled, m_stateColors, disabled, m_pressed, m_hot);
    DrawLayerText(dc, m_text, m_font, ShrinkRect(m_rect, m_textInsets), color, m_shadowColor, m_textFormat);
}

void CLayerButtonCtrl::ChangeHot(BOOL hot) {
    if (m_hot == hot) {
        return;
    }
    m_hot = hot;
    Invalidate(nullptr);
}

void CLayerButtonCtrl::ChangePressed(BOOL pressed) {
    if (m_pressed == pressed) {
        return;
    }
    m_pressed = pressed;
    Invalidate(nullptr);
}

void CLayerButtonCtrl::OnMouseMove(UINT, int, int) {
    ChangeHot(TRUE);
}

void CLayerButtonCtrl::OnMouseHover(UINT, int, int) {
    ChangeHot(TRUE);
}

void CLayerButtonCtrl::OnMouseLeave() {
    ChangeHot(FALSE);
}

void CLayerButtonCtrl::OnLButtonDown(UINT, int, int, BOOL&) {
    ChangePressed(TRUE);
}

void CLayerButtonCtrl::OnLButtonUp(UINT, int, int, BOOL&) {
    // The root delivers the release to the control that was pressed, even off it: that still clicks.
    ChangePressed(FALSE);
    PostCommand();
}
