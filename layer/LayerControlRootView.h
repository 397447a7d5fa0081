#pragma once

#include "layer/LayerControlGroup.h"

// The root of a window's control tree: its rect is the client area, it routes the window's mouse
// input to the control under the pointer (or to the pressed one) and keeps the tooltip in step.
class CLayerControlRootView : public CLayerControlGroup {
public:
    CLayerControlRootView() : CLayerControlGroup(kLayerTypeRootView) {}

    ILayerControl* GetHoverControl() override { return m_hoverControl; }
    void SetHoverControl(ILayerControl* control) override { m_hoverControl = control; }
    ILayerControl* GetPressedControl() override { return m_pressedControl; }
    void SetPressedControl(ILayerControl* control) override { m_pressedControl = control; }
    CLayerControlRootView* GetRootView() override { return this; }

    // Points arrive in window coordinates.
    void OnSetCursor(HWND window, UINT hitCode, UINT message, BOOL& handled) override;
    void OnMouseMove(UINT flags, int x, int y) override;
    void OnMouseHover(UINT, int, int) override {}
    void OnMouseLeave() override;
    void OnLButtonDown(UINT flags, int x, int y, BOOL& handled) override;
    void OnLButtonUp(UINT flags, int x, int y, BOOL& handled) override;
    void OnLButtonDblClk(UINT flags, int x, int y, BOOL& handled) override;
    void OnRButtonDown(UINT, int, int, BOOL&) override {}
    void OnRButtonUp(UINT, int, int, BOOL&) override {}

private:
    void UpdateToolTip(ILayerControl* control);
    void HideToolTip();
    // Shared by press and double click: which handler the control gets differs.
    template <class Send> void Press(int x, int y, BOOL& handled, Send send);

    ILayerControl* m_hoverControl = nullptr;
    ILayerControl* m_pressedControl = nullptr;
};
