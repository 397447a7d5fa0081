#pragma once

#include "guide/CenteredPosition.h"

// The guide balloon's size; every place below keeps it.
inline constexpr int kGuideWidth = 267;
inline constexpr int kGuideHeight = 166;
// The close button's left edge when the balloon stands right of the icon (its far corner from the icon).
inline constexpr int kGuideCloseRightX = 239;

// Where the balloon stands against the icon, and the parts that depend on it.
struct GuidePlacement {
    PlacementPoint position; // top-left corner
    int background;          // skin id of the balloon whose pointed corner touches the icon's middle
    int closeX;              // left edge of the close button, on the side away from the icon
};

// The balloon beside an icon: right of it, above and then below the icon's middle, then the same left of it,
// whichever fits the work area first (top-left corner inside, right and bottom edges not past it); when none
// fits, below and left.
GuidePlacement PlaceGuide(const PlacementRect& icon, const PlacementRect& workArea);
