#pragma once

#include "layer/LayerControlRootView.h"
#include "layer/LayerWindowCore.h"

// Creates a control of type C on the window's root view, for the monitor's two windows.
template <class C> C* AddLayerControl(CLayerWindowCore& window, int id, int x, int y, int cx, int cy) {
    auto* control = new C();
    control->Create(window.GetHWND(), &window, id, x, y, cx, cy, 0);
    window.GetRootView()->AddChild(control);
    return control;
}
