#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "layer/PixelBlend.h"

namespace {

// Source over worked out one channel at a time in floating point.
uint32_t ReferenceOver(uint32_t source, uint32_t target) {
    double keep = 1.0 - static_cast<double>(source >> 24) / 255.0;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        double channel = ((source >> shift) & 0xFF) + ((target >> shift) & 0xFF) * keep;
        result |= static_cast<uint32_t>(std::lround(channel)) << shift;
    }
    return result;
}

// A picture of the given size, bottom-up like a window's DIB section, filled with one pixel.
struct BottomUp {
    BottomUp(int w, int h, uint32_t fill) : memory(static_cast<size_t>(w) * h, fill) {
        view = PixelView{memory.data() + static_cast<size_t>(h - 1) * w, -static_cast<ptrdiff_t>(w) * 4, w, h};
    }
    std::vector<uint32_t> memory;
    PixelView view;
};

} // namespace

// Every opacity over every shade of a channel, with colour in each channel position, agrees with the
// per-channel sum rounded to nearest.
TEST(PixelBlend, OverMatchesThePerChannelSumForEveryAlphaAndShade) {
    for (uint32_t alpha = 0; alpha <= 255; ++alpha) {
        for (uint32_t shade = 0; shade <= 255; shade += 3) {
            uint32_t source = PremultipliedPixel(static_cast<uint8_t>(alpha), 255, 90, 17);
            uint32_t target = shade << 24 | (255 - shade) << 16 | shade << 8 | (shade / 2);
            BottomUp surface(1, 1, target);
            FillOver(surface.view, LayerRect{0, 0, 1, 1}, LayerRect{0, 0, 1, 1}, source);
            ASSERT_EQ(surface.memory[0], ReferenceOver(source, target)) << "alpha " << alpha << " shade " << shade;
        }
    }
    EXPECT_EQ(PremultipliedPixel(254, 255, 255, 255), 0xFEFEFEFEu);
    EXPECT_EQ(PremultipliedPixel(128, 255, 0, 0), 0x80800000u);
}

// A picture is placed by its top-left corner in picture rows (top-down even over a bottom-up target), and
// neither a fill nor a picture touches anything outside the clip or the target's own bounds.
TEST(PixelBlend, PlacementFollowsTopDownRowsAndStaysInsideClipAndBounds) {
    BottomUp target(6, 4, 0);
    const uint32_t picture[] = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005, 0xFF000006};
    BlendOver(target.view, 4, 2, ConstPixelView{picture, 12, 3, 2}, LayerRect{0, 0, 6, 4});
    EXPECT_EQ(target.view.Row(2)[4], 0xFF000001u);
    EXPECT_EQ(target.view.Row(2)[5], 0xFF000002u);
    EXPECT_EQ(target.view.Row(3)[4], 0xFF000004u);
    EXPECT_EQ(target.memory[4], 0xFF000004u) << "row 3 of a bottom-up picture is first in memory";

    BlendOver(target.view, -2, -1, ConstPixelView{picture, 12, 3, 2}, LayerRect{0, 0, 1, 4});
    EXPECT_EQ(target.view.Row(0)[0], 0xFF000006u);
    EXPECT_EQ(target.view.Row(0)[1], 0u) << "outside the clip";

    FillOver(target.view, LayerRect{-5, -5, 50, 50}, LayerRect{1, 1, 3, 9}, 0xFFFFFFFF);
    int filled = 0;
    for (uint32_t pixel : target.memory) {
        filled += pixel == 0xFFFFFFFF;
    }
    EXPECT_EQ(filled, 2 * 3);
    EXPECT_EQ(target.view.Row(1)[1], 0xFFFFFFFFu);
    EXPECT_EQ(target.view.Row(3)[3], 0u);
}

// The pieces of a sliced picture, each stretched to its own rounded rectangle, cover every pixel of the whole
// scaled rectangle once at any scale (no pixel less than opaque: a seam), and each is filtered only from its
// own cell of the picture: every cell has its own colour, and no pixel mixes two.
TEST(PixelBlend, StretchedPiecesLeaveNoSeamAndNoBleedAtAnyScale) {
    const LayerRect insets{7, 5, 6, 4};
    std::vector<uint32_t> cells(30 * 20);
    for (int i = 0; i < 30 * 20; ++i) {
        int column = i % 30 < insets.left ? 0 : i % 30 < 30 - insets.right ? 1 : 2;
        int row = i / 30 < insets.top ? 0 : i / 30 < 20 - insets.bottom ? 1 : 2;
        cells[i] = 0xFF000000u | static_cast<uint32_t>(column * 3 + row + 1) * 0x1C;
    }
    const LayerRect dest{3, 2, 3 + 57, 2 + 31};
    for (int dpi : {96, 120, 144, 168, 192}) {
        BottomUp target(120, 80, 0);
        for (const ImagePiece& piece : NineGridPieces(30, 20, insets, dest)) {
            const LayerRect& s = piece.source;
            StretchOver(target.view, ScaleRectToDpi(piece.dest, dpi),
                        ConstPixelView{cells.data() + s.top * 30 + s.left, 30 * 4, s.Width(), s.Height()},
                        LayerRect{0, 0, 120, 80});
        }
        const LayerRect whole = ScaleRectToDpi(dest, dpi);
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 120; ++x) {
                uint32_t pixel = target.view.Row(y)[x];
                bool inside = x >= whole.left && x < whole.right && y >= whole.top && y < whole.bottom;
                ASSERT_EQ(pixel >> 24, inside ? 0xFFu : 0u) << dpi << " dpi at " << x << "," << y;
                ASSERT_EQ((pixel & 0xFF) % 0x1C, 0u) << dpi << " dpi at " << x << "," << y << ": cells mixed";
            }
        }
    }
}
