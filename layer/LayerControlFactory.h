#pragma once

#include <windows.h>

#include "layer/LayerControlGroup.h"

class CLayerImageCtrl;
class CLayerLabelCtrl;

// Building a window's control tree: each control created at its place in its parent (rectangles relative
// to the parent) and handed to the parent, which owns it.

template <class C>
C* AddControl(CLayerControlGroup* parent, HWND hwnd, ILayerWindow* window, int id, int x, int y, int cx, int cy) {
    auto* control = new C();
    control->Create(hwnd, window, id, x, y, cx, cy, 0);
    parent->AddChild(control);
    return control;
}

// A skin image (-1: none yet) scaled into the rectangle.
CLayerImageCtrl* AddPicture(CLayerControlGroup* parent, HWND hwnd, ILayerWindow* window, int x, int y, int cx, int cy,
                            int image);

// A label in a skin font and a colour.
CLayerLabelCtrl* AddLabel(CLayerControlGroup* parent, HWND hwnd, ILayerWindow* window, int x, int y, int cx, int cy,
                          int font, COLORREF color);
