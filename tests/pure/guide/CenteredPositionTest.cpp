#include "guide/CenteredPosition.h"

#include <gtest/gtest.h>

TEST(CenteredPosition, CentresOnTheRectangleAndClampsIntoTheBounds) {
    constexpr PlacementRect kWorkArea{0, 0, 1280, 800};
    const struct {
        PlacementRect owner;
        int width, height;
        PlacementRect bounds;
        PlacementPoint expected;
    } cases[] = {
        {{400, 300, 800, 500}, 310, 129, kWorkArea, {600 - 155, 400 - 64}},
        // Halves round toward zero also left of the origin, on a monitor left of the primary one.
        {{-101, -11, 0, 0}, 3, 3, {-2000, -2000, 0, 0}, {-50 - 1, -5 - 1}},
        // An owner in a corner keeps the box inside the bounds.
        {{1200, 760, 1300, 820}, 310, 129, kWorkArea, {1280 - 310, 800 - 129}},
        {{-50, -40, 30, 20}, 310, 129, kWorkArea, {0, 0}},
        // A box larger than the bounds keeps its top left inside.
        {{100, 50, 300, 150}, 310, 129, {100, 50, 300, 150}, {100, 50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.owner.left);
        PlacementPoint p = CenteredPosition(c.owner, c.width, c.height, c.bounds);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
    }
}
