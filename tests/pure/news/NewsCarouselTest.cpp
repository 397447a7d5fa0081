#include <gtest/gtest.h>

#include <vector>

#include "news/NewsCarousel.h"

namespace {

// The shown dots' x by headline count: centred under the 272-pixel picture that starts at x 14.
TEST(NewsCarousel, DotsStandCentredOnePerHeadlineAndAloneNoneShows) {
    const struct {
        size_t count;
        std::vector<int> shown;
    } cases[] = {{1, {}}, {2, {141, 152}}, {3, {136, 147, 158}}, {5, {136, 147, 158}}};
    for (const auto& c : cases) {
        std::vector<int> shown;
        for (const NewsDot& dot : NewsDotPlacement(c.count)) {
            if (dot.visible) {
                shown.push_back(dot.x);
            }
        }
        EXPECT_EQ(shown, c.shown) << c.count;
        EXPECT_EQ(NewsRotates(c.count), !c.shown.empty()) << c.count;
    }
}

TEST(NewsCarousel, RotationRunsThroughTheHeadlinesAndStartsOver) {
    std::vector<size_t> order{0};
    for (int step = 0; step < 4; ++step) {
        order.push_back(NextNewsIndex(order.back(), 3));
    }
    EXPECT_EQ(order, (std::vector<size_t>{0, 1, 2, 0, 1}));
    EXPECT_EQ(NextNewsIndex(1, 2), 0u);
    EXPECT_EQ(NextNewsIndex(0, 1), 0u);
    EXPECT_EQ(NextNewsIndex(0, 0), 0u);
}

} // namespace
