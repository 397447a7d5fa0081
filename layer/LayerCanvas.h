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
    // and within its clip. A window drawn at its monitor's scale maps logical units to more than one pixel:
    // PixelDpi gives that scale as a DPI (96: one pixel a unit), or 0 when no canvas draws on the DC or its
    // mapping is more than a move and an even scale; the caller then draws with a graphics.
    static int PixelDpi(HDC dc);
    // The rectangle's edges land on the nearest pixels, so fills that meet in logical units meet in the bits.
    static bool FillPixels(HDC dc, const RECT& rect, uint32_t pixel);
    // The picture is in the bits' own pixels; its top-left corner lies `shift` pixels from the pixel where
    // the logical point (x, y) lands.
    static bool DrawPixels(HDC dc, int x, int y, const ConstPixelView& picture, POINT shift = {});
    // The picture stretched over the rectangle, whose edges land as FillPixels's do.
    static bool StretchPixels(HDC dc, const RECT& rect, const ConstPixelView& picture);

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
    // Where the DC's logical origin lies in the bits and the DPI its world scale draws at; false when the
    // DC's mapping is more than a move and an even scale that the pixel paths reproduce.
    static bool DeviceMapping(HDC dc, POINT& origin, int& dpi);
    // The DC's clip as rectangles of the bits.
    bool DeviceClip(HDC dc, std::vector<LayerRect>& clip) const;
    // A rectangle of the DC's logical coordinates in the bits, its edges rounded to the nearest pixels.
    static LayerRect InBits(const RECT& rect, POINT origin, int dpi);
    static CLayerCanvas* ForDC(HDC dc);
    // Calls paint(bits, origin, dpi, clip rectangle) for each rectangle of the DC's clip.
    template <class Paint> static bool PaintPixels(HDC dc, Paint paint);

    HDC m_dc;
    PixelView m_pixels;
    std::unique_ptr<Gdiplus::Bitmap> m_bitmap;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;
    CLayerCanvas* m_outer;
};
