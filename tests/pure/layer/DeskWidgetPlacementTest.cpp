#include <gtest/gtest.h>

#include "layer/DeskWidgetPlacement.h"

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

} // namespace
