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

WidgetPoint WidgetAfterDisplayChange(const WidgetRect& primary, std::span<const WidgetRect> workAreas, int width,
                                     WidgetPoint current) {
    auto onAMonitor = [workAreas](WidgetPoint point) {
        for (const WidgetRect& area : workAreas) {
            if (Inside(area, point)) {
                return true;
            }
        }
        return false;
    };
    // The second point may lie on a neighbouring monitor: a widget across the seam stays where it is.
    if (onAMonitor(current) && onAMonitor(WidgetPoint{current.x + kWidgetDragMargin, current.y + kWidgetDragMargin})) {
        return current;
    }
    return WidgetPlacement(primary, width, -1, -1);
}

WidgetRect ScaleFromDpi(const WidgetRect& rect, int dpi) {
    return WidgetRect{ScaleFromDpi(rect.left, dpi), ScaleFromDpi(rect.top, dpi), ScaleFromDpi(rect.right, dpi),
                      ScaleFromDpi(rect.bottom, dpi)};
}

int TransparencyBand(int percent) {
    return percent >= 80 ? 3 : percent >= 70 ? 2 : percent >= 50 ? 1 : 0;
}
