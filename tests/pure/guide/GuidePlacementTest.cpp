#include "guide/GuidePlacement.h"

#include <gtest/gtest.h>

namespace {

// A 76 x 86 desktop icon with its top-left corner at (x, y).
PlacementRect Icon(int x, int y) {
    return {x, y, x + 76, y + 86};
}

} // namespace

// Rows name the balloon by its pointed corner: right of the icon it points from its bottom-left (above the
// icon's middle) or top-left (below it), left of the icon from its bottom-right or top-right.
TEST(GuidePlacement, TakesTheFirstOfFourPlacesThatFitsTheWorkAreaElseBelowLeft) {
    constexpr PlacementRect kScreen{0, 0, 1280, 800};
    const struct {
        const char* where;
        PlacementRect icon;
        PlacementRect work;
        PlacementPoint expected;
        int background;
        bool closeAtRight;
    } rows[] = {
        {"left edge, middle", Icon(0, 400), kScreen, {76, 443 - 166}, 1077, true},
        {"bottom-left corner", Icon(0, 714), kScreen, {76, 757 - 166}, 1077, true},
        {"top-left corner: no room above the middle", Icon(0, 0), kScreen, {76, 43}, 1078, true},
        {"top edge, middle", Icon(600, 0), kScreen, {676, 43}, 1078, true},
        {"bottom edge, middle", Icon(600, 714), kScreen, {676, 757 - 166}, 1077, true},
        {"right edge, middle", Icon(1204, 400), kScreen, {1204 - 267, 443 - 166}, 1079, false},
        {"bottom-right corner", Icon(1204, 714), kScreen, {1204 - 267, 757 - 166}, 1079, false},
        {"top-right corner", Icon(1204, 0), kScreen, {1204 - 267, 43}, 1080, false},
        // The balloon may end exactly on the work area's right and top edges, not one pixel beyond.
        {"right edge exactly reached", Icon(937, 400), kScreen, {1013, 443 - 166}, 1077, true},
        {"right edge passed by one", Icon(938, 400), kScreen, {938 - 267, 443 - 166}, 1079, false},
        {"middle exactly the balloon's height down", {0, 166, 76, 166}, kScreen, {76, 0}, 1077, true},
        // A work area that starts below a top task bar counts, not the screen.
        {"under a top task bar", Icon(0, 40), {0, 40, 1280, 800}, {76, 83}, 1078, true},
        {"fits nowhere", Icon(100, 50), {0, 0, 300, 200}, {100 - 267, 93}, 1080, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.where);
        const GuidePlacement place = PlaceGuide(row.icon, row.work);
        EXPECT_EQ(place.position.x, row.expected.x);
        EXPECT_EQ(place.position.y, row.expected.y);
        EXPECT_EQ(place.background, row.background);
        EXPECT_EQ(place.closeX, row.closeAtRight ? kGuideWidth - 28 : 0);
    }
}
