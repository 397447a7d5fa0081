#include <gtest/gtest.h>

#include "calendar/CalendarLayout.h"

namespace {

TEST(CalendarLayout, BackgroundBands) {
    const struct {
        int percent, titleStrip, body, frame;
    } rows[] = {{29, 1013, 1007, 1001}, {40, 1013, 1007, 1001}, {50, 1017, 1011, 1005}, {69, 1017, 1011, 1005},
                {70, 1016, 1010, 1004}, {79, 1016, 1010, 1004}, {80, 1015, 1009, 1003}, {100, 1015, 1009, 1003}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.percent);
        const CalendarBackgroundImages images = CalendarBackgroundFor(r.percent);
        EXPECT_EQ(images.titleStrip, r.titleStrip);
        EXPECT_EQ(images.body, r.body);
        EXPECT_EQ(images.frame, r.frame);
    }
}

} // namespace
