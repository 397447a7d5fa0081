#include <gtest/gtest.h>

#include "calendar/CalendarLayout.h"

namespace {

constexpr CalendarRect kWork{0, 0, 1280, 770};

TEST(CalendarLayout, PlacementTakesTheSavedPlaceOnlyInsideTheReducedWorkArea) {
    const struct {
        CalendarRect work;
        int x, y, wantX, wantY;
    } rows[] = {
        {kWork, -1, -1, 863, 0},       {kWork, 100, 200, 100, 200},
        {kWork, 1249, 739, 1249, 739}, {kWork, 1250, 100, 863, 0},
        {kWork, 100, 740, 863, 0},     {kWork, -1, 100, 863, 0},
        {kWork, 100, -1, 863, 0},      {{40, 30, 1280, 800}, 20, 100, 863, 30},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.x << "," << r.y);
        const CalendarPoint at = CalendarPlacement(r.work, r.x, r.y);
        EXPECT_EQ(at.x, r.wantX);
        EXPECT_EQ(at.y, r.wantY);
    }
}

TEST(CalendarLayout, DragsStayInsideTheWorkAreaLessTen) {
    EXPECT_TRUE(CalendarDragAllowed(kWork, {0, 0}));
    EXPECT_TRUE(CalendarDragAllowed(kWork, {1269, 759}));
    EXPECT_FALSE(CalendarDragAllowed(kWork, {1270, 100}));
    EXPECT_FALSE(CalendarDragAllowed(kWork, {100, 760}));
    EXPECT_FALSE(CalendarDragAllowed(kWork, {-1, 100}));
}

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
