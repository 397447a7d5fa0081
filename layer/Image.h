#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "layer/LayerControlMath.h"
#include "layer/PixelBlend.h"

// A decoded picture that is also a strip of equal frames laid side by side, so every state of a control
// lives in one bitmap and a state change only moves the source rectangle.
class CImage {
public:
    CImage() = default;
    virtual ~CImage();
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // Decodes a picture stored as a resource. A null module means the program's own resources.
    bool LoadFromResource(UINT resourceId, const wchar_t* resourceType, HMODULE module = nullptr);
    bool LoadFromFile(const wchar_t* path);
    // Takes ownership of a bitmap made at run time (a generated strip); false when it is unusable.
    bool Attach(Gdiplus::Bitmap* bitmap);
    void Free();

    void SetFrameCount(int count) { m_frameCount = count < 1 ? 1 : count; }
    int GetFrameCount() const { return m_frameCount; }
    int GetWidth() const;
    int GetHeight() const;
    int GetFrameWidth() const { return m_width / m_frameCount; }
    bool IsValid() const;

    // Draws the source rectangle of the bitmap scaled into (x, y, w, h).
    void Draw(HDC dc, int x, int y, int w, int h, const RECT& source) const;
    // Draws one frame of the strip scaled into (x, y, w, h).
    void DrawFrame(HDC dc, int x, int y, int w, int h, int frame) const;
    // Draws several source rectangles at once (nine-grid and sliced pictures) through one graphics object;
    // stretched pieces take the nearest of their own source pixels, so no neighbouring cell bleeds in.
    void DrawPieces(HDC dc, const std::vector<ImagePiece>& pieces) const;

private:
    bool Adopt(Gdiplus::Bitmap* decoded);
    // The pixels of a source rectangle; none when it passes the picture's edge.
    ConstPixelView PixelsOf(const LayerRect& source) const;
    // Lays the source rectangle straight into a canvas's bits: as it is when drawn at its own size on a window
    // at 100 %, and resampled once and kept when a window above 100 % enlarges it.
    bool DrawIntoCanvas(HDC dc, int x, int y, int w, int h, const LayerRect& source) const;
    // The source rectangle resampled to width x height pixels as a graphics draws it enlarged.
    ConstPixelView Resampled(const LayerRect& source, int width, int height) const;

    // Enlarged copies, most recently used first; a few, since a control draws one or two frames of a strip.
    struct Enlarged {
        LayerRect source;
        int width;
        int height;
        std::vector<uint32_t> pixels;
    };
    mutable std::list<Enlarged> m_enlarged;

    std::vector<uint32_t> m_pixels;
    std::unique_ptr<Gdiplus::Bitmap> m_bitmap;
    int m_width = 0;
    int m_height = 0;
    int m_frameCount = 1;
};
