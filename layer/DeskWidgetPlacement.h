#pragma once

#include <span>

#include "app/base/DpiScale.h"

// Where a desktop widget may stand, and the bands of its transparency slider: plain numbers in, plain
// numbers out, the same for every widget.

struct WidgetRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct WidgetPoint {
    int x;
    int y;
};

// Margins taken off the work area's right and bottom edges: for the saved place, and while dragging.
inline constexpr int kWidgetPlacementMargin = 30;
inline constexpr int kWidgetDragMargin = 10;

// The place a widget `width` pixels wide takes when shown: the saved (x, y) when neither is -1 and it lies in
// the work area less the placement margin, otherwise the top of the work area, the width plus the margin
// left of its right edge.
WidgetPoint WidgetPlacement(const WidgetRect& workArea, int width, int savedX, int savedY);

// Whether a drag may put the widget's top-left corner at `corner`: inside the work area less the drag margin.
bool WidgetDragAllowed(const WidgetRect& workArea, WidgetPoint corner);

// Where a shown widget whose top-left corner is at `current` goes after the displays changed: it stays while
// the monitors' work areas hold both its corner and the point the drag margin right of and below it (so at
// least that much of it can be grabbed), otherwise it takes its first place in the primary work area as if
// nothing were saved.
WidgetPoint WidgetAfterDisplayChange(const WidgetRect& primary, std::span<const WidgetRect> workAreas, int width,
                                     WidgetPoint current);

// A rectangle at `dpi` in 96-DPI pixels.
WidgetRect ScaleFromDpi(const WidgetRect& rect, int dpi);

// The transparency slider's band of a percentage, each with its own pre-made background pictures:
// 0 below 50, 1 from 50, 2 from 70, 3 from 80.
int TransparencyBand(int percent);
