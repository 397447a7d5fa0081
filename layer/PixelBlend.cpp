#include "layer/PixelBlend.h"

#include <algorithm>
#include <vector>

namespace {

// Source over for premultiplied pixels, two channels at a time: each of the pairs (red, blue) and (alpha,
// green) is scaled by 255 - alpha with exact rounding. A premultiplied channel never exceeds its alpha,
// so no sum carries into the next channel.
uint32_t Over(uint32_t source, uint32_t target) {
    uint32_t alpha = source >> 24;
    if (alpha == 255) {
        return source;
    }
    if (alpha == 0) {
        return target;
    }
    uint32_t keep = 255 - alpha;
    uint32_t redBlue = (target & 0x00FF00FF) * keep + 0x00800080;
    redBlue = ((redBlue + ((redBlue >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
    uint32_t alphaGreen = ((target >> 8) & 0x00FF00FF) * keep + 0x00800080;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0x00FF00FF)) & 0xFF00FF00;
    return source + (redBlue | alphaGreen);
}

uint8_t Scale(uint8_t channel, uint8_t alpha) {
    uint32_t t = static_cast<uint32_t>(channel) * alpha + 128;
    return static_cast<uint8_t>((t + (t >> 8)) >> 8);
}

LayerRect Intersect(const LayerRect& a, const LayerRect& b) {
    return LayerRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                     std::min(a.bottom, b.bottom)};
}

// Where one of the target pixels along an axis samples the stretched picture: two neighbouring picture
// pixels and the weight, of 256, of the second.
struct Tap {
    int first;
    int second;
    uint32_t weight;
};

// The taps of `length` target pixels over `size` picture pixels: each target pixel's centre mapped into the
// picture, in 1/256 of a pixel, with exact integer arithmetic and kept within the picture.
std::vector<Tap> Taps(int length, int size) {
    std::vector<Tap> taps(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
        long long position = (2LL * i + 1) * size * 256 / (2LL * length) - 128;
        position = std::clamp<long long>(position, 0, (size - 1) * 256LL);
        int first = static_cast<int>(position >> 8);
        taps[i] = Tap{first, std::min(first + 1, size - 1), static_cast<uint32_t>(position & 255)};
    }
    return taps;
}

// a + (b - a) * weight / 256 for every channel, two at a time as in Over.
uint32_t Mix(uint32_t a, uint32_t b, uint32_t weight) {
    if (weight == 0) {
        return a;
    }
    uint32_t keep = 256 - weight;
    uint32_t redBlue = (((a & 0x00FF00FF) * keep + (b & 0x00FF00FF) * weight) >> 8) & 0x00FF00FF;
    uint32_t alphaGreen = ((((a >> 8) & 0x00FF00FF) * keep + ((b >> 8) & 0x00FF00FF) * weight)) & 0xFF00FF00;
    return redBlue | alphaGreen;
}

} // namespace

uint32_t PremultipliedPixel(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(Scale(red, alpha)) << 16 |
           static_cast<uint32_t>(Scale(green, alpha)) << 8 | Scale(blue, alpha);
}

void FillOver(const PixelView& target, const LayerRect& rect, const LayerRect& clip, uint32_t pixel) {
    LayerRect area = Intersect(Intersect(rect, clip), LayerRect{0, 0, target.width, target.height});
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* row = target.Row(y);
        for (int x = area.left; x < area.right; ++x) {
            row[x] = Over(pixel, row[x]);
        }
    }
}

void BlendOver(const PixelView& target, int x, int y, const ConstPixelView& picture, const LayerRect& clip) {
    LayerRect placed{x, y, x + picture.width, y + picture.height};
    LayerRect area = Intersect(Intersect(placed, clip), LayerRect{0, 0, target.width, target.height});
    for (int row = area.top; row < area.bottom; ++row) {
        uint32_t* out = target.Row(row);
        const uint32_t* in = picture.Row(row - y);
        for (int column = area.left; column < area.right; ++column) {
            out[column] = Over(in[column - x], out[column]);
        }
    }
}

void StretchOver(const PixelView& target, const LayerRect& rect, const ConstPixelView& picture, const LayerRect& clip) {
    LayerRect area = Intersect(Intersect(rect, clip), LayerRect{0, 0, target.width, target.height});
    if (area.Width() <= 0 || area.Height() <= 0 || picture.width <= 0 || picture.height <= 0) {
        return;
    }
    const std::vector<Tap> columns = Taps(rect.Width(), picture.width);
    const std::vector<Tap> rows = Taps(rect.Height(), picture.height);
    for (int y = area.top; y < area.bottom; ++y) {
        const Tap& row = rows[y - rect.top];
        const uint32_t* upper = picture.Row(row.first);
        const uint32_t* lower = picture.Row(row.second);
        uint32_t* out = target.Row(y);
        for (int x = area.left; x < area.right; ++x) {
            const Tap& column = columns[x - rect.left];
            uint32_t pixel = Mix(Mix(upper[column.first], upper[column.second], column.weight),
                                 Mix(lower[column.first], lower[column.second], column.weight), row.weight);
            out[x] = Over(pixel, out[x]);
        }
    }
}
