#include <gtest/gtest.h>

#include "layer/DeskWidgetPlacement.h"

#include <vector>

namespace {

constexpr WidgetRect kWork{0, 0, 1280, 770};
constexpr int kWidth = 387;

TEST(DeskWidgetPlacement, PlacementTakesTheSavedPlaceOnlyInsideTheReducedWorkArea) {
    const struct {
        WidgetRect work;
        int x, y, wantX, wantY;
    } rows[] = {
        {kWork, -1, -1, 863, 0},       {kWork, 100, 200, 100, 200},
        {kWork, 1249, 739, 1249, 739}, {kWork, 1250, 100, 863, 0},
        {kWork, 100, 740, 863, 0},     {kWork, -1, 100, 863, 0},
        {kWork, 100, -1, 863, 0},      {{40, 30, 1280, 800}, 20, 100, 863, 30},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.x << "," << r.y);
        const WidgetPoint at = WidgetPlacement(r.work, kWidth, r.x, r.y);
        EXPECT_EQ(at.x, r.wantX);
        EXPECT_EQ(at.y, r.wantY);
    }
}

TEST(DeskWidgetPlacement, DragsStayInsideTheWorkAreaLessTen) {
    EXPECT_TRUE(WidgetDragAllowed(kWork, {0, 0}));
    EXPECT_TRUE(WidgetDragAllowed(kWork, {1269, 759}));
    EXPECT_FALSE(WidgetDragAllowed(kWork, {1270, 100}));
    EXPECT_FALSE(WidgetDragAllowed(kWork, {100, 760}));
    EXPECT_FALSE(WidgetDragAllowed(kWork, {-1, 100}));
}

// Two monitors side by side, then the resolution shrunk or the second one removed: a widget stays while a
// monitor still holds its corner (and the drag margin past it) and otherwise returns to the primary's top right.
TEST(DeskWidgetPlacement, DisplayChangesKeepReachableWidgetsAndBringBackTheRest) {
    const WidgetRect primary{0, 0, 1280, 770}, second{1280, 0, 3200, 1080}, shrunk{0, 0, 1024, 738};
    const WidgetRect left{-1920, 200, 0, 1280};
    const struct {
        std::vector<WidgetRect> monitors;
        WidgetPoint at;
        bool stays;
    } rows[] = {{{primary, second}, {2000, 500}, true}, {{primary}, {2000, 500}, false},
                {{primary, second}, {1275, 100}, true}, {{primary}, {1275, 100}, false},
                {{shrunk}, {1000, 100}, true},          {{shrunk}, {1014, 100}, false},
                {{shrunk}, {100, 730}, false},          {{primary, left}, {-500, 1000}, true},
                {{primary, left}, {-500, 100}, false},  {{}, {100, 100}, false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.monitors.size() << " monitors, " << r.at.x << "," << r.at.y);
        const WidgetPoint to = WidgetAfterDisplayChange(primary, r.monitors, kWidth, r.at);
        EXPECT_EQ(to.x, r.stays ? r.at.x : 863);
        EXPECT_EQ(to.y, r.stays ? r.at.y : 0);
    }
}

// Lengths at 125 % to 200 % round to the nearest pixel and come back to the same 96-DPI length.
TEST(DeskWidgetPlacement, DpiScalingRoundsAndReturns) {
    const struct {
        int dpi, length, scaled;
    } rows[] = {{96, 387, 387},  {72, 387, 387},  {120, 387, 484}, {144, 387, 581},
                {168, 475, 831}, {192, 475, 950}, {120, -3, -4}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.dpi << " dpi, " << r.length);
        EXPECT_EQ(ScaleToDpi(r.length, r.dpi), r.scaled);
        EXPECT_EQ(ScaleFromDpi(r.scaled, r.dpi), r.length);
    }
    EXPECT_EQ(ScaleFromDpi(WidgetRect{0, 0, 2560, 1570}, 192).bottom, 785);
    // The mouse maps to the 96-DPI pixel it lies in, not the nearest: the last device pixel stays inside.
    EXPECT_EQ(std::vector<int>({LayoutPixelAt(29, 192), LayoutPixelAt(483, 120), LayoutPixelAt(-1, 192)}),
              std::vector<int>({14, 386, -1}));
}

} // namespace
