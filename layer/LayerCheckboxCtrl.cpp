#include "layer/LayerCheckboxCtrl.h"

#include "layer/Image.h"
#include "layer/LayerText.h"

CLayerCheckboxCtrl::CLayerCheckboxCtrl() : CLayerButtonCtrl(kLayerTypeCheckbox) {
    m_textFormat = 0x1001;
}

void CLayerCheckboxCtrl::SetCheck(bool checked, BOOL redraw) {
    Update(m_checked, checked, redraw);
}

void CLayerCheckboxCtrl::Paint(HDC dc) {
    bool disabled = !m_enabled;
    RECT textRect = ShrinkRect(m_rect, m_textInsets);
    if (m_image && m_image->IsValid()) {
        int frame = CheckboxFrame(disabled, m_pressed, m_hot, m_checked);
        int frameWidth = m_image->GetFrameWidth();
        int height = m_image->GetHeight();
        // A strip without the frame shows no box rather than a slice outside the picture.
        if (frame < m_image->GetFrameCount()) {
            int top = m_rect.top + ((m_rect.bottom - m_rect.top) - height) / 2;
            m_image->DrawFrame(dc, m_rect.left, top, frameWidth, height, frame);
        }
        textRect.left = m_rect.left + frameWidth + 5;
    }
    COLORREF color = (disabled && m_disabledTextColor != kNoColor) ? m_disabledTextColor : m_textColor;
    DrawLayerText(dc, m_text, m_font, textRect, color, m_shadowColor, m_textFormat);
}

void CLayerCheckboxCtrl::OnLButtonUp(UINT, int, int, BOOL&) {
    if (!m_enabled) {
        return;
    }
    ChangePressed(FALSE);
    if (m_toggleOnClick) {
        SetCheck(!m_checked, TRUE);
    }
    PostCommand();
}
