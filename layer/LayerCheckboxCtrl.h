#pragma once

#include "layer/LayerButtonCtrl.h"

// A check box: an eight-frame strip (four unchecked states, then four checked) at its natural size on
// the left, the caption after it. A click toggles it (unless toggling is off) and posts WM_COMMAND.
class CLayerCheckboxCtrl : public CLayerButtonCtrl {
public:
    CLayerCheckboxCtrl();

    void Paint(HDC dc) override;
    void OnLButtonUp(UINT flags, int x, int y, BOOL& handled) override;

    void SetCheck(bool checked, BOOL redraw);
    bool IsChecked() const { return m_checked; }
    void SetToggleOnClick(bool toggle) { m_toggleOnClick = toggle; }
    bool IsToggleOnClick() const { return m_toggleOnClick; }
    void SetDisabledTextColor(COLORREF color) { m_disabledTextColor = color; }
    COLORREF GetDisabledTextColor() const { return m_disabledTextColor; }

private:
    bool m_checked = false;
    bool m_toggleOnClick = true;
    COLORREF m_disabledTextColor = static_cast<COLORREF>(-1);
};
