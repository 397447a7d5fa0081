#include "calendar/CalendarLayout.h"

namespace {

bool Inside(const CalendarRect& area, CalendarPoint point) {
    return point.x >= area.left && point.x < area.right && point.y >= area.top && point.y < area.bottom;
}

} // namespace

CalendarPoint CalendarPlacement(const CalendarRect& workArea, int savedX, int savedY) {
    const CalendarRect reduced{workArea.left, workArea.top, workArea.right - kCalendarPlacementMargin,
                               workArea.bottom - kCalendarPlacementMargin};
    if (savedX != -1 && savedY != -1 && Inside(reduced, CalendarPoint{savedX, savedY})) {
        return CalendarPoint{savedX, savedY};
    }
    return CalendarPoint{reduced.right - kCalendarWidth, workArea.top};
}

bool CalendarDragAllowed(const CalendarRect& workArea, CalendarPoint corner) {
    return Inside(CalendarRect{workArea.left, workArea.top, workArea.right - kCalendarDragMargin,
                               workArea.bottom - kCalendarDragMargin},
                  corner);
}

CalendarBackgroundImages CalendarBackgroundFor(int percent) {
    if (percent >= 80) {
        return {1015, 1009, 1003};
    }
    if (percent >= 70) {
        return {1016, 1010, 1004};
    }
    if (percent >= 50) {
        return {1017, 1011, 1005};
    }
    return {1013, 1007, 1001};
}
