#include "layer/LayerCanvas.h"

#include "app/ScopedHandle.h"

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

CLayerCanvas::CUse::CUse(HDC dc) {
    CLayerCanvas* canvas = t_canvas;
    if (canvas && canvas->m_graphics && canvas->m_dc == dc) {
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
