#pragma once

#include "layer/LayerControlBase.h"
#include "layer/LayerControlMath.h"

class CImage;

// A push button: a strip image whose frame follows the state (normal, hot, pressed, disabled) and a
// caption. A release after a press on it posts WM_COMMAND with its id, wherever the pointer is then.
class CLayerButtonCtrl : public CLayerControlBase {
public:
    CLayerButtonCtrl() : CLayerButtonCtrl(kLayerTypeButton) {}

    void Paint(HDC dc) override;
    void OnMouseMove(UINT flags, int x, int y) override;
    void OnMouseHover(UINT flags, int x, int y) override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT flags, int x, int y, BOOL& handled) override;
    void OnLButtonUp(UINT flags, int x, int y, BOOL& handled) override;

    CImage* GetImage() const { return m_image; }
    void SetImage(CImage* image, BOOL redraw);
    // Text colours per state, used instead of the text colour once enabled.
    void SetStateColors(COLORREF normal, COLORREF hot, COLORREF pressed, COLORREF disabled);
    void EnableStateColors(bool enable) { m_stateColorsEnabled = enable; }
    bool IsStateColorsEnabled() const { return m_stateColorsEnabled; }

protected:
    explicit CLayerButtonCtrl(int type);

    // Sets hot or pressed and repaints when it changed.
    void ChangeHot(BOOL hot);
    void ChangePressed(BOOL pressed);

    CImage* m_image = nullptr;
    bool m_stateColorsEnabled = false;
    ButtonStateColors m_stateColors;
};
