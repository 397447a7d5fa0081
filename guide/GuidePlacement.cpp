#include "guide/GuidePlacement.h"

namespace {

bool Fits(const PlacementPoint& corner, const PlacementRect& area) {
    return corner.x >= area.left && corner.y >= area.top && corner.x + kGuideWidth <= area.right &&
           corner.y + kGuideHeight <= area.bottom;
}

} // namespace

GuidePlacement PlaceGuide(const PlacementRect& icon, const PlacementRect& workArea) {
    const int middle = (icon.top + icon.bottom) / 2;
    const int rightOf = icon.right;
    const int leftOf = icon.left - kGuideWidth;
    const GuidePlacement tries[] = {
        {{rightOf, middle - kGuideHeight}, 1077, kGuideCloseRightX},
        {{rightOf, middle}, 1078, kGuideCloseRightX},
        {{leftOf, middle - kGuideHeight}, 1079, 0},
        {{leftOf, middle}, 1080, 0},
    };
    for (const GuidePlacement& place : tries) {
        if (Fits(place.position, workArea)) {
            return place;
        }
    }
    return tries[3];
}
