#pragma once

#include "layer/LayerControlBase.h"

// A caption, optionally outlined. An interactive label posts WM_COMMAND when clicked.
class CLayerLabelCtrl : public CLayerControlBase {
public:
    CLayerLabelCtrl() : CLayerControlBase(kLayerTypeLabel) { m_textFormat = 0x1001; }

    void Paint(HDC dc) override;
    void OnLButtonUp(UINT flags, int x, int y, BOOL& handled) override;

    // -1 (the default) draws no outline; with an outline the shadow colour is not used.
    void SetOutlineColor(COLORREF color) { m_outlineColor = color; }
    COLORREF GetOutlineColor() const { return m_outlineColor; }

private:
    COLORREF m_outlineColor = static_cast<COLORREF>(-1);
};
