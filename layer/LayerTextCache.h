#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <cstdint>
#include <list>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "layer/PixelBlend.h"

// Texts rendered ahead into premultiplied pictures, so a repaint lays down pixels instead of shaping and
// rasterising every string again: under Wine each string drawn costs over a tenth of a millisecond, and a
// calendar frame holds about a hundred. All passes of a text (shadow, outline, face) go into one picture;
// laying it over the frame gives what drawing them there one after the other gives, since laying pictures
// over one another is associative. One cache serves each thread that paints.
class CLayerTextCache {
public:
    // One drawing of the text in a colour, moved by (dx, dy) from its layout rectangle.
    struct Pass {
        COLORREF color;
        int dx;
        int dy;
    };

    // The rendered passes and where their picture's top-left lies from the layout rectangle's, in the
    // picture's pixels.
    struct Rendered {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        std::vector<uint32_t> pixels;

        ConstPixelView View() const {
            return ConstPixelView{pixels.data(), static_cast<ptrdiff_t>(width) * 4, width, height};
        }
    };

    static CLayerTextCache& ForThisThread();

    // The text laid out in a width x height rectangle with the control text format flags and drawn in each
    // pass at the fill alpha, anti-aliased, on a surface at `dpi` (96: at its own size; above, every length,
    // the font's and the passes' included, grows by dpi / 96, as a window drawn at its monitor's scale shows
    // it). Null when it cannot be rendered ahead: an unbounded layout, a font without a family, or a picture
    // too large to keep. Valid until the next call.
    const Rendered* Get(const std::wstring& text, Gdiplus::Font& font, int width, int height, UINT flags,
                        std::span<const Pass> passes, int dpi);

    size_t ByteCount() const { return m_bytes; }

private:
    static bool Render(const std::wstring& text, Gdiplus::Font& font, int width, int height, UINT flags,
                       std::span<const Pass> passes, int dpi, Rendered& out);

    using Entry = std::pair<std::wstring, Rendered>;
    std::list<Entry> m_entries; // most recently used first
    std::unordered_map<std::wstring, std::list<Entry>::iterator> m_index;
    size_t m_bytes = 0;
};
