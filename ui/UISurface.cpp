#include "ui/UISurface.h"

#include <cstring>

#include "app/base/DpiScale.h"

bool CUISurface::Begin(int layoutWidth, int layoutHeight, int dpi) {
    m_graphics.reset();
    m_canvas.reset();
    const int width = ScaleToDpi(layoutWidth, dpi);
    const int height = ScaleToDpi(layoutHeight, dpi);
    if (width <= 0 || height <= 0) {
        return false;
    }
    if (!m_bitmap || m_size.cx != width || m_size.cy != height) {
        m_bitmap.Reset();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
        if (!m_bitmap) {
            return false;
        }
        m_size = SIZE{width, height};
    }
    std::memset(m_bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    // GDI+ writes the DIB's own pixels: premultiplied BGRA is what a layered window takes.
    m_canvas =
        std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(m_bits));
    m_graphics = std::make_unique<Gdiplus::Graphics>(m_canvas.get());
    if (m_graphics->GetLastStatus() != Gdiplus::Ok) {
        m_graphics.reset();
        m_canvas.reset();
        return false;
    }
    m_graphics->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    m_graphics->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    m_graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    if (dpi > kBaseDpi) {
        const Gdiplus::REAL scale = static_cast<Gdiplus::REAL>(dpi) / kBaseDpi;
        m_graphics->ScaleTransform(scale, scale);
    }
    return true;
}

bool CUISurface::Present(HWND window, POINT screenPosition) {
    // GDI+ may keep drawing buffered until its objects go.
    m_graphics.reset();
    m_canvas.reset();
    if (!m_bitmap) {
        return false;
    }
    if (!m_dc) {
        m_dc.Reset(::CreateCompatibleDC(nullptr));
        if (!m_dc) {
            return false;
        }
    }
    CSelectObject select(m_dc.Get(), m_bitmap.Get());
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return ::UpdateLayeredWindow(window, nullptr, &screenPosition, &m_size, m_dc.Get(), &origin, 0, &blend,
                                 ULW_ALPHA) != FALSE;
}
