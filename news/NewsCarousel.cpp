#include "news/NewsCarousel.h"

#include <algorithm>

namespace {

// The picture the dots are centred under.
constexpr int kPictureLeft = 14;
constexpr int kPictureWidth = 272;
constexpr int kDotGap = 5;

} // namespace

std::array<NewsDot, kNewsDotCount> NewsDotPlacement(size_t count) {
    const int shown = static_cast<int>(std::min<size_t>(count, kNewsDotCount));
    const int width = kNewsDotSize * shown + kDotGap * std::max(shown - 1, 0);
    const int first = (kPictureWidth - width) / 2 + kPictureLeft;
    std::array<NewsDot, kNewsDotCount> dots{};
    for (int i = 0; i < kNewsDotCount; ++i) {
        dots[i] = NewsDot{first + (kNewsDotSize + kDotGap) * i, shown >= 2 && i < shown};
    }
    return dots;
}

size_t NextNewsIndex(size_t current, size_t count) {
    return count == 0 ? 0 : (current + 1) % count;
}
