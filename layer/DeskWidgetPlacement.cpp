#include "layer/DeskWidgetPlacement.h"

namespace {

bool Inside(const WidgetRect& area, WidgetPoint point) {
    return point.x >= area.left && point.x < area.right && point.y >= area.top && point.y < area.bottom;
}

} // namespace

WidgetPoint WidgetPlacement(const WidgetRect& workArea, int width, int savedX, int savedY) {
    const WidgetRect reduced{workArea.left, workArea.top, workArea.right - kWidgetPlacementMargin,
                             workArea.bottom - kWidgetPlacementMargin};
    if (savedX != -1 && savedY != -1 && Inside(reduced, WidgetPoint{savedX, savedY})) {
        return WidgetPoint{savedX, savedY};
    }
    return WidgetPoint{reduced.right - width, workArea.top};
}

bool WidgetDragAllowed(const WidgetRect& workArea, WidgetPoint corner) {
    return Inside(WidgetRect{workArea.left, workArea.top, workArea.right - kWidgetDragMargin,
                             workArea.bottom - kWidgetDragMargin},
                  corner);
}

int TransparencyBand(int percent) {
    return percent >= 80 ? 3 : percent >= 70 ? 2 : percent >= 50 ? 1 : 0;
}
