#pragma once

#include "layer/LayerControlBase.h"

// An anti-aliased line between two points in the parent's coordinates. Painting is culled by the
// control's rect like any other control's, so the rect must cover the line.
class CLayerLine : public CLayerControlBase {
public:
    CLayerLine() : CLayerControlBase(kLayerTypeLine) {}

    void Paint(HDC dc) override;

    void SetPoints(POINT start, POINT end, BOOL redraw);
    POINT GetStart() const { return m_start; }
    POINT GetEnd() const { return m_end; }
    void SetColor(COLORREF color, BOOL redraw);
    COLORREF GetColor() const { return m_color; }
    // 0 draws the thinnest line the device allows.
    void SetWidth(int width, BOOL redraw);
    int GetWidth() const { return m_width; }

private:
    POINT m_start{};
    POINT m_end{};
    COLORREF m_color = 0;
    int m_width = 0;
};
