#include <gtest/gtest.h>

#include "layer/LayerControlMath.h"

TEST(LayerTextFormat, AlignmentTrimmingAndTheNoClipQuirk) {
    TextLayout fallback = DecodeTextFormat(0);
    EXPECT_EQ(fallback.horizontal, TextAlign::Near);
    EXPECT_EQ(fallback.vertical, TextAlign::Near);
    EXPECT_EQ(fallback.trimming, TextTrimming::Default);
    EXPECT_FALSE(fallback.noWrap);

    TextLayout centred = DecodeTextFormat(0x1011);
    EXPECT_EQ(centred.horizontal, TextAlign::Center);
    EXPECT_EQ(centred.vertical, TextAlign::Center);
    EXPECT_TRUE(centred.noWrap);
    EXPECT_FALSE(centred.noClip);

    // The centre bits win over far, character trimming over word trimming.
    TextLayout farSide = DecodeTextFormat(0x0022 | 0x0200);
    EXPECT_EQ(farSide.horizontal, TextAlign::Far);
    EXPECT_EQ(farSide.vertical, TextAlign::Far);
    EXPECT_EQ(farSide.trimming, TextTrimming::EllipsisWord);
    TextLayout both = DecodeTextFormat(0x0033 | 0x0300);
    EXPECT_EQ(both.horizontal, TextAlign::Center);
    EXPECT_EQ(both.vertical, TextAlign::Center);
    EXPECT_EQ(both.trimming, TextTrimming::EllipsisCharacter);

    // No-clip replaces no-wrap, so such text may wrap.
    TextLayout noClip = DecodeTextFormat(0x1400);
    EXPECT_TRUE(noClip.noClip);
    EXPECT_FALSE(noClip.noWrap);
}

TEST(LayerButtonState, DisabledTextIsTheWholeValueTimesEightTenths) {
    EXPECT_EQ(DimmedColor(0xFFFFFF), 0xCCCCCCu);
    EXPECT_EQ(DimmedColor(0x0000FF), 0x0000CCu);
    // Not per channel: 0x010000 * 0.8 = 52428.8, which reaches into green and red.
    EXPECT_EQ(DimmedColor(0x010000), 0x00CCCCu);

    ButtonStateColors colors{0x000001, 0x000002, 0x000003, 0xFFFFFF};
    EXPECT_EQ(ButtonTextColor(0x123456, false, colors, false, true, true), 0x123456u);
    EXPECT_EQ(ButtonTextColor(0xFFFFFF, false, colors, true, false, false), 0xCCCCCCu);
    EXPECT_EQ(ButtonTextColor(0, true, colors, false, false, false), 0x000001u);
    EXPECT_EQ(ButtonTextColor(0, true, colors, false, false, true), 0x000002u);
    EXPECT_EQ(ButtonTextColor(0, true, colors, false, true, true), 0x000003u);
    EXPECT_EQ(ButtonTextColor(0, true, colors, true, true, true), 0xCCCCCCu);
}

TEST(LayerProgressMath, FractionIsFlooredAtOnePercentAndCappedAtTheMaximum) {
    EXPECT_EQ(ProgressFraction(0, 100), 0.0);
    EXPECT_EQ(ProgressFraction(50, 0), 0.0);
    EXPECT_DOUBLE_EQ(ProgressFraction(1, 1000), 0.01);
    EXPECT_DOUBLE_EQ(ProgressFraction(250, 1000), 0.25);
    EXPECT_DOUBLE_EQ(ProgressFraction(5000, 1000), 1.0);
    EXPECT_DOUBLE_EQ(ProgressFraction(UINT64_MAX, UINT64_MAX), 1.0);

    // The text has no floor: 0.1 % reads as such.
    EXPECT_EQ(ProgressPercentText(L"%.1f%%", 1, 1000), L"0.1%");
    EXPECT_EQ(ProgressPercentText(L"%.1f%%", 5000, 1000), L"100.0%");
    EXPECT_EQ(ProgressPercentText(L"%.0f", 1, 3), L"33");
    EXPECT_EQ(ProgressPercentText(L"%.1f%%", 7, 0), L"0.0%");
}

TEST(LayerProgressMath, BarGrowsFromTheSideItsDirectionNames) {
    const LayerRect area{10, 20, 110, 70};
    EXPECT_EQ(ProgressBarRect(area, 0, 0.25), (LayerRect{10, 20, 35, 70}));
    EXPECT_EQ(ProgressBarRect(area, 1, 0.25), (LayerRect{85, 20, 110, 70}));
    // 12.5 pixels truncate to 12.
    EXPECT_EQ(ProgressBarRect(area, 2, 0.25), (LayerRect{10, 20, 110, 32}));
    EXPECT_EQ(ProgressBarRect(area, 3, 0.25), (LayerRect{10, 58, 110, 70}));
    EXPECT_EQ(ProgressBarRect(area, 0, 1.0), area);
    // An area inverted by large insets gives an empty bar, never a negative one.
    EXPECT_EQ(ProgressBarRect(LayerRect{50, 0, 40, 10}, 0, 1.0), (LayerRect{50, 0, 50, 10}));
}

TEST(LayerProgressMath, SegmentsAdvanceBySizePlusGap) {
    // Horizontal: while the left edge does not pass the bar's right edge.
    EXPECT_EQ(ProgressSegments(LayerRect{0, 0, 24, 10}, false, 10, 10, 2), (std::vector<int>{0, 12, 24}));
    EXPECT_EQ(ProgressSegments(LayerRect{0, 0, 23, 10}, false, 10, 10, 2), (std::vector<int>{0, 12}));
    // Vertical: from the bottom up while the top edge stays inside.
    EXPECT_EQ(ProgressSegments(LayerRect{0, 0, 10, 30}, true, 10, 8, 2), (std::vector<int>{22, 12, 2}));
    EXPECT_TRUE(ProgressSegments(LayerRect{0, 0, 10, 30}, false, 0, 8, 0).empty());
}

TEST(LayerImagePieces, NineGridKeepsCornersAndStretchesTheRest) {
    std::vector<ImagePiece> pieces = NineGridPieces(30, 20, LayerRect{10, 5, 8, 6}, LayerRect{100, 50, 200, 110});
    ASSERT_EQ(pieces.size(), 9u);
    EXPECT_EQ(pieces[0], (ImagePiece{{0, 0, 10, 5}, {100, 50, 110, 55}}));
    EXPECT_EQ(pieces[4], (ImagePiece{{10, 5, 22, 14}, {110, 55, 192, 104}}));
    EXPECT_EQ(pieces[8], (ImagePiece{{22, 14, 30, 20}, {192, 104, 200, 110}}));

    // Zero insets on top and bottom (a progress bar's caps) leave only the middle row.
    pieces = NineGridPieces(30, 20, LayerRect{4, 0, 4, 0}, LayerRect{0, 0, 50, 20});
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[1], (ImagePiece{{4, 0, 26, 20}, {4, 0, 46, 20}}));
}

TEST(LayerImagePieces, ThreeSliceRepeatsTheMiddleAndCutsTheLastCopy) {
    std::vector<ImagePiece> pieces = ThreeSlicePieces(30, 10, false, 10, 10, LayerRect{0, 0, 45, 12});
    std::vector<ImagePiece> expected{{{0, 0, 10, 10}, {0, 0, 10, 12}},
                                     {{10, 0, 20, 10}, {10, 0, 20, 12}},
                                     {{10, 0, 20, 10}, {20, 0, 30, 12}},
                                     {{10, 0, 15, 10}, {30, 0, 35, 12}},
                                     {{20, 0, 30, 10}, {35, 0, 45, 12}}};
    EXPECT_EQ(pieces, expected);

    pieces = ThreeSlicePieces(8, 20, true, 4, 6, LayerRect{0, 100, 8, 130});
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces.front(), (ImagePiece{{0, 0, 8, 4}, {0, 100, 8, 104}}));
    EXPECT_EQ(pieces[2], (ImagePiece{{0, 4, 8, 14}, {0, 114, 8, 124}}));
    EXPECT_EQ(pieces.back(), (ImagePiece{{0, 14, 8, 20}, {0, 124, 8, 130}}));

    // Caps larger than the picture are cut back so they never overlap.
    pieces = ThreeSlicePieces(10, 10, false, 8, 8, LayerRect{0, 0, 40, 10});
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[1].source, (LayerRect{8, 0, 10, 10}));
}
