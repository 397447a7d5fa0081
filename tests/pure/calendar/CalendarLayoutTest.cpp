#include <gtest/gtest.h>

#include "calendar/CalendarLayout.h"

namespace {

constexpr CalendarRect kWork{0, 0, 1280, 770};

TEST(CalendarLayout, PlacementTakesTheSavedPlaceOnlyInsideTheReducedWorkArea) {
    auto at = [](CalendarPoint p) { return std::make_pair(p.x, p.y); };
    EXPECT_EQ(at(CalendarPlacement(kWork, -1, -1)), std::make_pair(1280 - 417, 0));
    EXPECT_EQ(at(CalendarPlacement(kWork, 100, 200)), std::make_pair(100, 200));
    EXPECT_EQ(at(CalendarPlacement(kWork, 1249, 739)), std::make_pair(1249, 739));
    EXPECT_EQ(at(CalendarPlacement(kWork, 1250, 100)), std::make_pair(863, 0));
    EXPECT_EQ(at(CalendarPlacement(kWork, 100, 740)), std::make_pair(863, 0));
    EXPECT_EQ(at(CalendarPlacement(kWork, -1, 100)), std::make_pair(863, 0));
    EXPECT_EQ(at(CalendarPlacement(kWork, 100, -1)), std::make_pair(863, 0));
    // A work area that does not start at the origin (a bar on the top or left).
    EXPECT_EQ(at(CalendarPlacement(CalendarRect{40, 30, 1280, 800}, 20, 100)), std::make_pair(863, 30));
}

TEST(CalendarLayout, DragsStayInsideTheWorkAreaLessTen) {
    EXPECT_TRUE(CalendarDragAllowed(kWork, {0, 0}));
    EXPECT_TRUE(CalendarDragAllowed(kWork, {1269, 759}));
    EXPECT_FALSE(CalendarDragAllowed(kWork, {1270, 100}));
    EXPECT_FALSE(CalendarDragAllowed(kWork, {100, 760}));
    EXPECT_FALSE(CalendarDragAllowed(kWork, {-1, 100}));
}

TEST(CalendarLayout, BackgroundBands) {
    auto frame = [](int percent) { return CalendarBackgroundFor(percent).frame; };
    EXPECT_EQ(frame(0), 1001);
    EXPECT_EQ(frame(29), 1001);
    EXPECT_EQ(frame(40), 1001);
    EXPECT_EQ(frame(50), 1005);
    EXPECT_EQ(frame(69), 1005);
    EXPECT_EQ(frame(70), 1004);
    EXPECT_EQ(frame(79), 1004);
    EXPECT_EQ(frame(80), 1003);
    EXPECT_EQ(frame(100), 1003);
    const CalendarBackgroundImages high = CalendarBackgroundFor(85);
    EXPECT_EQ(high.titleStrip, 1015);
    EXPECT_EQ(high.body, 1009);
    EXPECT_EQ(CalendarBackgroundFor(55).titleStrip, 1017);
    EXPECT_EQ(CalendarBackgroundFor(75).body, 1010);
}

} // namespace
