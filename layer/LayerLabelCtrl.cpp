#include "layer/LayerLabelCtrl.h"

#include "layer/LayerText.h"

void CLayerLabelCtrl::Paint(HDC dc) {
    RECT textRect = ShrinkRect(m_rect, m_textInsets);
    if (m_outlineColor == kNoColor) {
        DrawLayerText(dc, m_text, m_font, textRect, m_textColor, m_shadowColor, m_textFormat);
    } else {
        DrawLayerOutlinedText(dc, m_text, m_font, textRect, m_textColor, m_outlineColor, m_textFormat);
    }
}

void CLayerLabelCtrl::OnLButtonUp(UINT, int, int, BOOL&) {
    PostCommandIfInteractive();
}
