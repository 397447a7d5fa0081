#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "layer/LayerControlMath.h"

// Premultiplied 32-bit pixels, blue in the low byte and alpha in the high one, as a 32-bit DIB section and
// a PARGB bitmap hold them. Drawing a prepared picture or a plain colour this way costs a few microseconds
// where the graphics library under Wine spends a tenth of a millisecond or more per call.

// A picture's rows in memory; the stride is in bytes and negative for a bottom-up bitmap (scan0 is then the
// last row in memory, the picture's top row).
template <class Pixel> struct BasicPixelView {
    Pixel* scan0 = nullptr;
    ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;

    Pixel* Row(int y) const {
        using Byte = std::conditional_t<std::is_const_v<Pixel>, const std::byte, std::byte>;
        return reinterpret_cast<Pixel*>(reinterpret_cast<Byte*>(scan0) + stride * y);
    }
};
using PixelView = BasicPixelView<uint32_t>;
using ConstPixelView = BasicPixelView<const uint32_t>;

// The premultiplied pixel of a colour at an opacity.
uint32_t PremultipliedPixel(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue);

// Lays the pixel over every target pixel of rect that also lies within clip (source over).
void FillOver(const PixelView& target, const LayerRect& rect, const LayerRect& clip, uint32_t pixel);

// Lays the picture over the target with its top-left corner at (x, y), touching only pixels within clip.
void BlendOver(const PixelView& target, int x, int y, const ConstPixelView& picture, const LayerRect& clip);

// Lays the picture stretched over rect (each pixel filtered from its four nearest picture pixels, never from
// beyond the picture's edge), touching only pixels within clip. A rect of the picture's own size copies it.
void StretchOver(const PixelView& target, const LayerRect& rect, const ConstPixelView& picture, const LayerRect& clip);
