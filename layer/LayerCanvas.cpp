#include "layer/LayerCanvas.h"

#include <cmath>
#include <cstdlib>

#include "app/base/DpiScale.h"
#include "app/base/ScopedHandle.h"
#include "layer/LayerText.h"

namespace {

// The canvas of the paint pass running on this thread; passes nest when a window paints inside another's.
thread_local CLayerCanvas* t_canvas = nullptr;

} // namespace

CLayerCanvas::CLayerCanvas(HDC dc, HBITMAP dib) : m_dc(dc), m_outer(t_canvas) {
    t_canvas = this;
    DIBSECTION section{};
    if (!dc || !dib || ::GetObjectW(dib, sizeof(section), &section) != sizeof(section) || !section.dsBm.bmBits ||
        section.dsBm.bmBitsPixel != 32 || section.dsBmih.biCompression != BI_RGB) {
        return;
    }
    int width = section.dsBm.bmWidth;
    int height = section.dsBm.bmHeight;
    int stride = section.dsBm.bmWidthBytes;
    auto* scan0 = static_cast<BYTE*>(section.dsBm.bmBits);
    if (section.dsBmih.biHeight > 0) {
        // A bottom-up DIB: row 0 of the picture is the last in memory.
        scan0 += static_cast<size_t>(height - 1) * stride;
        stride = -stride;
    }
    m_pixels = PixelView{reinterpret_cast<uint32_t*>(scan0), stride, width, height};
    m_bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, stride, PixelFormat32bppPARGB, scan0);
    if (m_bitmap->GetLastStatus() != Gdiplus::Ok) {
        m_bitmap.reset();
        return;
    }
    m_graphics = std::make_unique<Gdiplus::Graphics>(m_bitmap.get());
    if (m_graphics->GetLastStatus() != Gdiplus::Ok) {
        m_graphics.reset();
    }
}

CLayerCanvas::~CLayerCanvas() {
    if (m_graphics) {
        m_graphics->Flush(Gdiplus::FlushIntentionSync);
    }
    m_graphics.reset();
    m_bitmap.reset();
    t_canvas = m_outer;
}

bool CLayerCanvas::Prepare(HDC dc) {
    if (::GetMapMode(dc) != MM_TEXT) {
        return false;
    }
    // GDI may still hold drawing for these bits in its batch.
    ::GdiFlush();
    CRegionHandle clip(::CreateRectRgn(0, 0, 0, 0));
    if (clip && ::GetClipRgn(dc, clip.Get()) == 1) {
        m_graphics->SetClip(clip.Get(), Gdiplus::CombineModeReplace);
    }
    POINT viewport{};
    POINT window{};
    ::GetViewportOrgEx(dc, &viewport);
    ::GetWindowOrgEx(dc, &window);
    XFORM world{1, 0, 0, 1, 0, 0};
    if (::GetGraphicsMode(dc) == GM_ADVANCED) {
        ::GetWorldTransform(dc, &world);
    }
    Gdiplus::Matrix transform(world.eM11, world.eM12, world.eM21, world.eM22, world.eDx, world.eDy);
    transform.Translate(static_cast<Gdiplus::REAL>(viewport.x - window.x),
                        static_cast<Gdiplus::REAL>(viewport.y - window.y), Gdiplus::MatrixOrderAppend);
    m_graphics->SetTransform(&transform);
    return true;
}

CLayerCanvas* CLayerCanvas::ForDC(HDC dc) {
    CLayerCanvas* canvas = t_canvas;
    return canvas && canvas->m_graphics && canvas->m_dc == dc ? canvas : nullptr;
}

bool CLayerCanvas::DeviceMapping(HDC dc, POINT& origin, int& dpi) {
    if (::GetMapMode(dc) != MM_TEXT) {
        return false;
    }
    POINT viewport{};
    POINT window{};
    ::GetViewportOrgEx(dc, &viewport);
    ::GetWindowOrgEx(dc, &window);
    origin = POINT{viewport.x - window.x, viewport.y - window.y};
    dpi = kBaseDpi;
    if (::GetGraphicsMode(dc) == GM_ADVANCED) {
        XFORM world{};
        if (!::GetWorldTransform(dc, &world) || world.eM11 != world.eM22 || world.eM11 < 1 || world.eM12 != 0 ||
            world.eM21 != 0 || world.eDx != static_cast<int>(world.eDx) || world.eDy != static_cast<int>(world.eDy)) {
            return false;
        }
        // Only a scale that is a whole DPI, as a window's monitor gives, maps edges as the pieces' math rounds them.
        dpi = static_cast<int>(std::lround(world.eM11 * kBaseDpi));
        if (std::abs(world.eM11 * kBaseDpi - dpi) > 1e-3) {
            return false;
        }
        origin.x += static_cast<int>(world.eDx);
        origin.y += static_cast<int>(world.eDy);
    }
    return true;
}

bool CLayerCanvas::DeviceClip(HDC dc, std::vector<LayerRect>& clip) const {
    clip.clear();
    CRegionHandle region(::CreateRectRgn(0, 0, 0, 0));
    int found = region ? ::GetClipRgn(dc, region.Get()) : -1;
    if (found < 0) {
        return false;
    }
    if (found == 0) {
        clip.push_back(LayerRect{0, 0, m_pixels.width, m_pixels.height});
        return true;
    }
    DWORD size = ::GetRegionData(region.Get(), 0, nullptr);
    std::vector<std::byte> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size < sizeof(RGNDATAHEADER) || ::GetRegionData(region.Get(), size, data) != size) {
        return false;
    }
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        clip.push_back(LayerRect{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
    }
    return true;
}

int CLayerCanvas::PixelDpi(HDC dc) {
    POINT origin{};
    int dpi = 0;
    return ForDC(dc) && DeviceMapping(dc, origin, dpi) ? dpi : 0;
}

template <class Paint> bool CLayerCanvas::PaintPixels(HDC dc, Paint paint) {
    CLayerCanvas* canvas = ForDC(dc);
    POINT origin{};
    int dpi = 0;
    std::vector<LayerRect> clip;
    if (!canvas || !DeviceMapping(dc, origin, dpi) || !canvas->DeviceClip(dc, clip)) {
        return false;
    }
    // GDI may still hold drawing for these bits in its batch.
    ::GdiFlush();
    for (const LayerRect& part : clip) {
        paint(canvas->m_pixels, origin, dpi, part);
    }
    return true;
}

LayerRect CLayerCanvas::InBits(const RECT& rect, POINT origin, int dpi) {
    const LayerRect scaled = ScaleRectToDpi(ToLayerRect(rect), dpi);
    return LayerRect{scaled.left + origin.x, scaled.top + origin.y, scaled.right + origin.x, scaled.bottom + origin.y};
}

bool CLayerCanvas::FillPixels(HDC dc, const RECT& rect, uint32_t pixel) {
    return PaintPixels(dc, [&](const PixelView& bits, POINT origin, int dpi, const LayerRect& clip) {
        FillOver(bits, InBits(rect, origin, dpi), clip, pixel);
    });
}

bool CLayerCanvas::StretchPixels(HDC dc, const RECT& rect, const ConstPixelView& picture) {
    return PaintPixels(dc, [&](const PixelView& bits, POINT origin, int dpi, const LayerRect& clip) {
        StretchOver(bits, InBits(rect, origin, dpi), picture, clip);
    });
}

bool CLayerCanvas::DrawPixels(HDC dc, int x, int y, const ConstPixelView& picture, POINT shift) {
    return PaintPixels(dc, [&](const PixelView& bits, POINT origin, int dpi, const LayerRect& clip) {
        BlendOver(bits, ScaleToDpi(x, dpi) + origin.x + shift.x, ScaleToDpi(y, dpi) + origin.y + shift.y, picture,
                  clip);
    });
}

CLayerCanvas::CUse::CUse(HDC dc) {
    if (CLayerCanvas* canvas = ForDC(dc)) {
        m_state = canvas->m_graphics->Save();
        if (canvas->Prepare(dc)) {
            m_graphics = canvas->m_graphics.get();
            return;
        }
        canvas->m_graphics->Restore(m_state);
    }
    m_graphics = &m_own.emplace(dc);
}

CLayerCanvas::CUse::~CUse() {
    if (!m_own) {
        m_graphics->Restore(m_state);
    }
}
