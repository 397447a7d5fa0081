#pragma once

#include "layer/LayerControlBase.h"

class CImage;

// A horizontal slider: a track picture and a thumb dragged along it. The window sets the range (in
// pixels the thumb may travel) before showing it; each drag move posts WM_COMMAND with the position as
// a percentage of the range in lParam.
class CLayerSliderCtrl : public CLayerControlBase {
public:
    CLayerSliderCtrl();

    void Paint(HDC dc) override;
    void OnMouseMove(UINT flags, int x, int y) override;
    void OnMouseHover(UINT flags, int x, int y) override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT flags, int x, int y, BOOL& handled) override;
    void OnLButtonUp(UINT flags, int x, int y, BOOL& handled) override;

    void SetTrackImage(CImage* image) { m_trackImage = image; }
    // Frame 0 is the thumb at rest, frame 1 under the pointer.
    void SetThumbImage(CImage* image) { m_thumbImage = image; }
    void SetOffset(int offset, BOOL redraw);
    int GetOffset() const { return m_offset; }
    void SetRange(int range) { m_range = range; }
    int GetRange() const { return m_range; }
    bool IsDragging() const { return m_dragging; }
    bool IsThumbHot() const { return m_thumbHot; }

private:
    RECT ThumbRect() const;
    bool InThumb(int x, int y) const;

    CImage* m_trackImage = nullptr;
    CImage* m_thumbImage = nullptr;
    int m_offset = 0;
    int m_range = -1;
    bool m_thumbHot = false;
    POINT m_lastPoint{-1, -1};
    POINT m_anchor{-1, -1};
    bool m_dragging = false;
};
