#pragma once

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

// The transparency slider's band of a percentage, each with its own pre-made background pictures:
// 0 below 50, 1 from 50, 2 from 70, 3 from 80.
int TransparencyBand(int percent);
