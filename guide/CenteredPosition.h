#pragma once

// Plain rectangles and points, so placement is computed and tested without windows.
struct PlacementRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct PlacementPoint {
    int x;
    int y;
};

// Top-left corner of a width x height box centred on centreOn (halves rounded toward zero), then
// moved into bounds: pulled back while its right or bottom edge passes them, then pushed forward while
// its left or top edge is outside. A box larger than the bounds therefore keeps its left and top edges
// on theirs, so its title and close button stay reachable.
PlacementPoint CenteredPosition(const PlacementRect& centreOn, int width, int height, const PlacementRect& bounds);
