#pragma once

#include <array>
#include <cstddef>

// What the news window decides from the number of headlines alone: where its three dots stand and which
// of them show, whether it rotates, and which headline comes next.

inline constexpr int kNewsDotCount = 3;
inline constexpr int kNewsDotTop = 197;
inline constexpr int kNewsDotSize = 6;

struct NewsDot {
    int x;
    bool visible;
};

// The dots for count headlines (at most three count): one per headline, centred under the picture with
// five pixels between them; a single headline shows none, since there is nothing to choose from.
std::array<NewsDot, kNewsDotCount> NewsDotPlacement(size_t count);

// Two headlines or more take turns; one stays.
inline bool NewsRotates(size_t count) {
    return count >= 2;
}

// The headline after current, back to the first after the last; 0 when there are none.
size_t NextNewsIndex(size_t current, size_t count);
