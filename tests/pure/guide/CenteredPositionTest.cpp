#include "guide/CenteredPosition.h"

#include <gtest/gtest.h>

namespace {

constexpr PlacementRect kWorkArea{0, 0, 1280, 800};
constexpr int kBoxWidth = 310;
constexpr int kBoxHeight = 129;

} // namespace

TEST(CenteredPosition, CentresOnTheRectangleWhenTheBoxFits) {
    PlacementPoint p = CenteredPosition(PlacementRect{400, 300, 800, 500}, kBoxWidth, kBoxHeight, kWorkArea);
    EXPECT_EQ(p.x, 600 - 155);
    EXPECT_EQ(p.y, 400 - 64);
}

TEST(CenteredPosition, HalvesRoundTowardZeroAlsoLeftOfTheOrigin) {
    // A monitor left of the primary one has negative coordinates: -101 / 2 is -50, not -51.
    PlacementPoint p = CenteredPosition(PlacementRect{-101, -11, 0, 0}, 3, 3, PlacementRect{-2000, -2000, 0, 0});
    EXPECT_EQ(p.x, -50 - 1);
    EXPECT_EQ(p.y, -5 - 1);
}

TEST(CenteredPosition, OwnerInACornerKeepsTheBoxInsideTheBounds) {
    PlacementPoint bottomRight =
        CenteredPosition(PlacementRect{1200, 760, 1300, 820}, kBoxWidth, kBoxHeight, kWorkArea);
    EXPECT_EQ(bottomRight.x, 1280 - kBoxWidth);
    EXPECT_EQ(bottomRight.y, 800 - kBoxHeight);

    PlacementPoint topLeft = CenteredPosition(PlacementRect{-50, -40, 30, 20}, kBoxWidth, kBoxHeight, kWorkArea);
    EXPECT_EQ(topLeft.x, 0);
    EXPECT_EQ(topLeft.y, 0);
}

TEST(CenteredPosition, BoxLargerThanTheBoundsKeepsItsTopLeftInside) {
    PlacementRect small{100, 50, 300, 150};
    PlacementPoint p = CenteredPosition(small, kBoxWidth, kBoxHeight, small);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 50);
}
