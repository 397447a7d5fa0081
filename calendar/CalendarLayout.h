#pragma once

// Geometry and skin choices of the calendar window that need no window: plain numbers in, plain
// numbers out.

struct CalendarRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct CalendarPoint {
    int x;
    int y;
};

inline constexpr int kCalendarWidth = 387;
inline constexpr int kCalendarHeight = 475;
// Margins taken off the work area's right and bottom edges: for the saved place, and while dragging.
inline constexpr int kCalendarPlacementMargin = 30;
inline constexpr int kCalendarDragMargin = 10;

// The place the window takes when shown: the saved (x, y) when neither is -1 and it lies in the work
// area less the placement margin, otherwise the top of the work area, the window's width plus the
// margin left of its right edge.
CalendarPoint CalendarPlacement(const CalendarRect& workArea, int savedX, int savedY);

// Whether a drag may put the window's top-left corner at `corner`: inside the work area less the drag
// margin.
bool CalendarDragAllowed(const CalendarRect& workArea, CalendarPoint corner);

// The background pictures for a transparency percentage; the slider's bands are 30, 50, 70 and 80.
struct CalendarBackgroundImages {
    int titleStrip;
    int body;
    int frame;
};
CalendarBackgroundImages CalendarBackgroundFor(int percent);
