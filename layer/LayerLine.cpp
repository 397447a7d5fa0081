#include "layer/LayerLine.h"

#include "layer/LayerCanvas.h"
#include "layer/LayerText.h"

void CLayerLine::Paint(HDC dc) {
    CLayerCanvas::CUse graphics(dc);
    graphics->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::Pen pen(ToGdiplusColor(m_color, kLayerLineAlpha), static_cast<Gdiplus::REAL>(m_width));
    graphics->DrawLine(&pen, static_cast<INT>(m_start.x), static_cast<INT>(m_start.y), static_cast<INT>(m_end.x),
                       static_cast<INT>(m_end.y));
}

void CLayerLine::SetPoints(POINT start, POINT end, BOOL redraw) {
    if (start.x == m_start.x && start.y == m_start.y && end.x == m_end.x && end.y == m_end.y) {
        return;
    }
    m_start = start;
    m_end = end;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerLine::SetColor(COLORREF color, BOOL redraw) {
    Update(m_color, color, redraw);
}

void CLayerLine::SetWidth(int width, BOOL redraw) {
    Update(m_width, width, redraw);
}
