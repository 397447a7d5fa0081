#include "guide/CenteredPosition.h"

namespace {

int CentreAndClamp(int first, int last, int size, int boundFirst, int boundLast) {
    int position = (first + last) / 2 - size / 2;
    if (position + size > boundLast) {
        position = boundLast - size;
    }
    if (position < boundFirst) {
        position = boundFirst;
    }
    return position;
}

} // namespace

PlacementPoint CenteredPosition(const PlacementRect& centreOn, int width, int height, const PlacementRect& bounds) {
    return PlacementPoint{CentreAndClamp(centreOn.left, centreOn.right, width, bounds.left, bounds.right),
                          CentreAndClamp(centreOn.top, centreOn.bottom, height, bounds.top, bounds.bottom)};
}
