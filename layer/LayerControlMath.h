#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Layout and state decisions of the standard controls, kept apart from GDI+ so they can be checked
// natively. Colours are 0x00BBGGRR; rectangles are (left, top, right, bottom) with right and bottom
// exclusive.

struct LayerRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const LayerRect&) const = default;
};

// A rectangle shrunk by insets given as (left, top, right, bottom) widths.
LayerRect ShrinkRect(const LayerRect& rect, const LayerRect& insets);

// The control text format flags decoded into what a string format needs.
enum class TextAlign { Near, Center, Far };
enum class TextTrimming { Default, EllipsisCharacter, EllipsisWord };
struct TextLayout {
    TextAlign horizontal = TextAlign::Near;
    TextAlign vertical = TextAlign::Near;
    TextTrimming trimming = TextTrimming::Default;
    bool noWrap = false;
    bool noClip = false;
};
TextLayout DecodeTextFormat(uint32_t flags);

// Which frame of a button's strip shows: disabled needs four frames, pressed three, hot two; a state
// whose frame the strip lacks falls through to the next test.
int ButtonFrame(int frameCount, bool disabled, bool pressed, bool hot);
// A check box strip holds four unchecked frames then four checked ones.
int CheckboxFrame(bool disabled, bool pressed, bool hot, bool checked);

// The state colours of a button in the order normal, hot, pressed, disabled.
struct ButtonStateColors {
    uint32_t normal = 0xFFFFFFFF;
    uint32_t hot = 0xFFFFFFFF;
    uint32_t pressed = 0xFFFFFFFF;
    uint32_t disabled = 0xFFFFFFFF;
};
// The colour a button's text is drawn in; a disabled button dims it with DimmedColor.
uint32_t ButtonTextColor(uint32_t textColor, bool stateColorsEnabled, const ButtonStateColors& colors, bool disabled,
                         bool pressed, bool hot);
// The whole 32-bit value times 0.8, truncated: white becomes 0xCCCCCC, and channels may borrow from
// each other, as the skins were tuned against.
uint32_t DimmedColor(uint32_t color);

// Progress bar. The shown fraction of the maximum, floored at 0.01 so a tiny value still shows; 0 when
// no bar is drawn at all.
double ProgressFraction(uint64_t position, uint64_t maximum);
// The bar inside `area` for a fraction: direction 0 grows from the left, 1 from the right, 2 from the
// top, 3 from the bottom.
LayerRect ProgressBarRect(const LayerRect& area, int direction, double fraction);
// Where the copies of a segment picture go: left edges along a horizontal bar, or top edges up a
// vertical one starting at its bottom. Each copy advances by its size plus the gap.
std::vector<int> ProgressSegments(const LayerRect& bar, bool vertical, int imageWidth, int imageHeight, int gap);
// min(position, maximum) / maximum * 100 printed with a printf-style wide format ("%.1f%%").
std::wstring ProgressPercentText(const std::wstring& format, uint64_t position, uint64_t maximum);

// Slider: the thumb offset after the pointer moved from anchorX to pointX, kept within 0 .. range.
int SliderDragOffset(int offset, int range, int anchorX, int pointX);
// The offset as a whole percentage of the range; 0 while the range is unset.
int SliderPercent(int offset, int range);

// Pieces of a picture drawn into a rectangle: each copies `source` (image pixels) into `dest`.
struct ImagePiece {
    LayerRect source;
    LayerRect dest;
    bool operator==(const ImagePiece&) const = default;
};
// Nine cells cut by inset widths: corners unscaled, edges and centre stretched.
std::vector<ImagePiece> NineGridPieces(int imageWidth, int imageHeight, const LayerRect& insets, const LayerRect& dest);
// Caps of the given widths (heights when vertical) unscaled at both ends, the middle of the picture
// repeated between them with the last copy cut; across the other axis every piece fills `dest`.
std::vector<ImagePiece> ThreeSlicePieces(int imageWidth, int imageHeight, bool vertical, int firstCap, int lastCap,
                                         const LayerRect& dest);
// A rectangle drawn on a surface at `dpi` (96: the controls' own size) in whole pixels of that surface: every
// edge is rounded on its own, so rectangles that share an edge in the controls' terms (the pieces of a sliced
// picture, fills side by side) share it there too, with neither a gap nor an overlap between them.
LayerRect ScaleRectToDpi(const LayerRect& rect, int dpi);
