#include "guide/GuidePlacement.h"

#include <gtest/gtest.h>

// A 76 x 86 icon at (x, y) on a 1280 x 800 work area unless a row gives another. Right of the icon the balloon
// stands above its middle (1077), else below (1078); left of it the same (1079, 1080); the close button is on
// the side away from the icon.
TEST(GuidePlacement, TakesTheFirstOfFourPlacesThatFitsTheWorkAreaElseBelowLeft) {
    const struct {
        int iconX, iconY;
        PlacementRect work;
        PlacementPoint expected;
        int background;
    } rows[] = {
        {0, 400, {0, 0, 1280, 800}, {76, 443 - 166}, 1077},          // left edge
        {0, 714, {0, 0, 1280, 800}, {76, 757 - 166}, 1077},          // bottom-left corner
        {0, 0, {0, 0, 1280, 800}, {76, 43}, 1078},                   // top-left corner: top half, no room above
        {600, 0, {0, 0, 1280, 800}, {676, 43}, 1078},                // top edge
        {600, 714, {0, 0, 1280, 800}, {676, 757 - 166}, 1077},       // bottom edge
        {1204, 400, {0, 0, 1280, 800}, {937, 443 - 166}, 1079},      // right edge
        {1204, 714, {0, 0, 1280, 800}, {937, 757 - 166}, 1079},      // bottom-right corner
        {1204, 0, {0, 0, 1280, 800}, {937, 43}, 1080},               // top-right corner
        {937, 400, {0, 0, 1280, 800}, {1013, 443 - 166}, 1077},      // ends exactly on the right edge
        {938, 400, {0, 0, 1280, 800}, {938 - 267, 443 - 166}, 1079}, // one pixel past it
        {0, 123, {0, 0, 1280, 800}, {76, 0}, 1077},                  // starts exactly on the top edge
        {0, 40, {0, 40, 1280, 800}, {76, 83}, 1078},                 // under a top task bar
        {100, 50, {0, 0, 300, 200}, {100 - 267, 93}, 1080},          // fits nowhere
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.iconX << "," << row.iconY);
        const GuidePlacement place = PlaceGuide({row.iconX, row.iconY, row.iconX + 76, row.iconY + 86}, row.work);
        EXPECT_EQ(place.position.x, row.expected.x);
        EXPECT_EQ(place.position.y, row.expected.y);
        EXPECT_EQ(place.background, row.background);
        EXPECT_EQ(place.closeX, row.background <= 1078 ? kGuideWidth - 28 : 0);
    }
}
