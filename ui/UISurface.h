#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>

#include "app/base/ScopedHandle.h"

// The off-screen frame of one layered window: a top-down 32-bit premultiplied DIB that GDI+ draws into
// and UpdateLayeredWindow shows with per-pixel alpha. Drawn at the monitor's scale, text stays crisp.
class CUISurface {
public:
    // Makes the frame of a window laid out layoutWidth x layoutHeight pixels at 96 DPI and shown at `dpi`, cleared to
    // transparent; the drawing surface takes 96-DPI coordinates. False when the bitmap cannot be had.
    bool Begin(int layoutWidth, int layoutHeight, int dpi);
    // The drawing surface of the frame begun last (null after a failed Begin); valid until Present.
    Gdiplus::Graphics* Graphics() const { return m_graphics.get(); }
    // Shows the frame on the window at the given screen position.
    bool Present(HWND window, POINT screenPosition);

private:
    CMemoryDC m_dc;
    CBitmapHandle m_bitmap;
    void* m_bits = nullptr;
    SIZE m_size{};
    std::unique_ptr<Gdiplus::Bitmap> m_canvas;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;
};
