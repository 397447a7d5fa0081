#include <gtest/gtest.h>

#include "weather/WeatherLayout.h"

namespace {

// Each look's pictures from the lowest band up, and where the look lies in the window.
struct Look {
    bool expanded;
    bool hovered;
    int images[4];
    LayerRect rect;
};

TEST(WeatherLayout, BackgroundSwitchesBandsExactlyAt50And70And80InEveryLook) {
    const Look looks[] = {
        {true, false, {1045, 1046, 1047, 1048}, {0, 29, 389, 338}},
        {true, true, {1037, 1038, 1039, 1040}, {0, 0, 389, 338}},
        {false, false, {1049, 1050, 1051, 1052}, {0, 29, 389, 172}},
        {false, true, {1041, 1042, 1043, 1044}, {0, 0, 389, 172}},
    };
    const std::pair<int, int> bandOf[] = {{0, 0}, {49, 0}, {50, 1}, {69, 1}, {70, 2}, {79, 2}, {80, 3}, {100, 3}};
    for (const Look& look : looks) {
        for (const auto& [percent, band] : bandOf) {
            EXPECT_EQ(WeatherBackgroundFor(percent, look.expanded, look.hovered),
                      (WeatherBackground{look.images[band], look.rect}))
                << percent << " expanded " << look.expanded << " hovered " << look.hovered;
        }
    }
}

} // namespace
