#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>
#include <optional>
#include <vector>

#include "layer/PixelBlend.h"

// One GDI+ graphics over the bits of a window's 32-bit DIB for a whole paint pass. Under Wine a graphics
// made on a DC renders each call into a scratch buffer and alpha-blends it through GDI; drawing straight
// into the bits as premultiplied ARGB costs about half as much. While a canvas lives, every CUse on its DC
// shares that graphics, set to the DC's current origin and clip; any other DC gets its own graphics.
class CLayerCanvas {
public:
    // The DC must have the DIB section selected; a bitmap that is not a 32-bit DIB leaves the canvas
    // inactive, and drawing falls back to a graphics per use.
    CLayerCanvas(HDC dc, HBITMAP dib);
    ~CLayerCanvas();
    CLayerCanvas(const CLayerCanvas&) = delete;
    CLayerCanvas& operator=(const CLayerCanvas&) = delete;

    bool IsActive() const { return m_graphics != nullptr; }

    // Pixel-exact drawing straight into the bits of the canvas on this DC, in the DC's logical coordinates
    // and within its clip. False when no canvas draws on the DC or the DC maps by more than a move; the
    // caller then draws with a graphics.
    static bool TakesPixels(HDC dc);
    static bool FillPixels(HDC dc, const RECT& rect, uint32_t pixel);
    static bool DrawPixels(HDC dc, int x, int y, const ConstPixelView& picture);

    // A graphics that draws on a DC as Graphics(dc) would. Whatever it changes (transform, clip, hints)
    // is undone when it goes, so no use leaks state into the next.
    class CUse {
    public:
        explicit CUse(HDC dc);
        ~CUse();
        CUse(const CUse&) = delete;
        CUse& operator=(const CUse&) = delete;

        Gdiplus::Graphics* operator->() const { return m_graphics; }
        Gdiplus::Graphics& operator*() const { return *m_graphics; }

    private:
        std::optional<Gdiplus::Graphics> m_own;
        Gdiplus::Graphics* m_graphics = nullptr;
        Gdiplus::GraphicsState m_state = 0;
    };

private:
    // The DC's world-to-device transform and clip applied to the shared graphics; false when the DC's
    // mapping is one the canvas does not reproduce.
    bool Prepare(HDC dc);
    // Where the DC's logical origin lies in the bits and its clip as rectangles of the bits; false when the
    // DC's mapping is more than a move.
    bool DeviceMapping(HDC dc, POINT& origin, std::vector<LayerRect>& clip) const;
    static CLayerCanvas* ForDC(HDC dc);
    // Calls paint(bits, origin, clip rectangle) for each rectangle of the DC's clip.
    template <class Paint> static bool PaintPixels(HDC dc, Paint paint);

    HDC m_dc;
    PixelView m_pixels;
    std::unique_ptr<Gdiplus::Bitmap> m_bitmap;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;
    CLayerCanvas* m_outer;
};
