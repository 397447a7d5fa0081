#include <gtest/gtest.h>

#include <vector>

#include "news/NewsCarousel.h"

namespace {

// The shown dots' x by headline count, centred under the 272-pixel picture at x 14, and the rotation order.
TEST(NewsCarousel, DotsStandOnePerHeadlineNoneAloneAndTheHeadlinesTakeTurns) {
    const std::vector<std::vector<int>> shown{{}, {141, 152}, {136, 147, 158}, {136, 147, 158}};
    for (size_t count = 1; count <= 4; ++count) {
        std::vector<int> xs;
        for (const NewsDot& dot : NewsDotPlacement(count)) {
            if (dot.visible) {
                xs.push_back(dot.x);
            }
        }
        EXPECT_EQ(xs, shown[count - 1]) << count;
        EXPECT_EQ(NewsRotates(count), count > 1) << count;
    }
    std::vector<size_t> order{0};
    while (order.size() < 5) {
        order.push_back(NextNewsIndex(order.back(), 3));
    }
    EXPECT_EQ(order, (std::vector<size_t>{0, 1, 2, 0, 1}));
    EXPECT_EQ(NextNewsIndex(0, 1) + NextNewsIndex(0, 0), 0u);
}

} // namespace
