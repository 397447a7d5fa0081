#include "calendar/CalendarLayout.h"

#include "layer/DeskWidgetPlacement.h"

CalendarBackgroundImages CalendarBackgroundFor(int percent) {
    static constexpr CalendarBackgroundImages kByBand[] = {
        {1013, 1007, 1001}, {1017, 1011, 1005}, {1016, 1010, 1004}, {1015, 1009, 1003}};
    return kByBand[TransparencyBand(percent)];
}
