#include "layer/Image.h"

#include "app/base/DpiScale.h"
#include "app/base/ScopedHandle.h"
#include "app/base/SmartLogger.h"
#include "layer/LayerCanvas.h"
#include "layer/LayerText.h"

#include <algorithm>
#include <cstring>

namespace {

struct GlobalMemoryTraits : CHandleTraitsBase<HGLOBAL, nullptr> {
    static void Close(HGLOBAL h) { ::GlobalFree(h); }
};
using CGlobalMemory = CScopedHandle<GlobalMemoryTraits>;

struct StreamRelease {
    void operator()(IStream* stream) const { stream->Release(); }
};
using CStreamPtr = std::unique_ptr<IStream, StreamRelease>;

// A stream over a private copy of the resource bytes: the copy must outlive the resource lock, and the
// stream frees it when the last reference (ours or the decoder's) goes.
CStreamPtr StreamFromResource(HMODULE module, UINT resourceId, const wchar_t* resourceType) {
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), resourceType);
    if (!info) {
        return nullptr;
    }
    DWORD size = ::SizeofResource(module, info);
    HGLOBAL loaded = ::LoadResource(module, info);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes || size == 0) {
        return nullptr;
    }
    CGlobalMemory copy(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!copy) {
        return nullptr;
    }
    void* target = ::GlobalLock(copy.Get());
    if (!target) {
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(copy.Get());
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(copy.Get(), TRUE, &stream)) || !stream) {
        return nullptr;
    }
    copy.Release();
    return CStreamPtr(stream);
}

} // namespace

CImage::~CImage() {
    Free();
}

bool CImage::Adopt(Gdiplus::Bitmap* decoded) {
    std::unique_ptr<Gdiplus::Bitmap> source(decoded);
    if (!source || source->GetLastStatus() != Gdiplus::Ok) {
        return false;
    }
    int width = static_cast<int>(source->GetWidth());
    int height = static_cast<int>(source->GetHeight());
    // The picture lives in premultiplied pixels of its own: laid straight into a canvas when drawn at its
    // size, and drawn through a bitmap over the same pixels otherwise.
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = pixels.data();
    Gdiplus::Rect all(0, 0, width, height);
    if (pixels.empty() || source->LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                           PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
        return false;
    }
    source->UnlockBits(&data);
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB,
                                                    reinterpret_cast<BYTE*>(pixels.data()));
    if (bitmap->GetLastStatus() != Gdiplus::Ok) {
        return false;
    }
    m_pixels = std::move(pixels);
    m_bitmap = std::move(bitmap);
    m_width = width;
    m_height = height;
    return true;
}

ConstPixelView CImage::PixelsOf(const LayerRect& source) const {
    if (source.left < 0 || source.top < 0 || source.right > m_width || source.bottom > m_height) {
        return {};
    }
    return ConstPixelView{m_pixels.data() + static_cast<size_t>(source.top) * m_width + source.left,
                          static_cast<ptrdiff_t>(m_width) * 4, source.Width(), source.Height()};
}

bool CImage::DrawIntoCanvas(HDC dc, int x, int y, int w, int h, const LayerRect& source) const {
    const int dpi = CLayerCanvas::PixelDpi(dc);
    const ConstPixelView view = PixelsOf(source);
    if (!view.scan0 || w <= 0 || h <= 0) {
        return false;
    }
    if (dpi == kBaseDpi && w == source.Width() && h == source.Height()) {
        return CLayerCanvas::DrawPixels(dc, x, y, view);
    }
    if (dpi <= kBaseDpi) {
        return false;
    }
    // Rounded as the canvas rounds every rectangle, so the picture meets what is drawn beside it.
    const LayerRect box = ScaleRectToDpi(LayerRect{x, y, x + w, y + h}, dpi);
    const ConstPixelView enlarged = Resampled(source, box.Width(), box.Height());
    return enlarged.scan0 && CLayerCanvas::DrawPixels(dc, x, y, enlarged);
}

ConstPixelView CImage::Resampled(const LayerRect& source, int width, int height) const {
    constexpr size_t kKept = 4;
    auto found = std::find_if(m_enlarged.begin(), m_enlarged.end(), [&](const Enlarged& e) {
        return e.source == source && e.width == width && e.height == height;
    });
    if (found == m_enlarged.end()) {
        Enlarged made{source, width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
        Gdiplus::Bitmap bitmap(width, height, width * 4, PixelFormat32bppPARGB,
                               reinterpret_cast<BYTE*>(made.pixels.data()));
        Gdiplus::Graphics graphics(&bitmap);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        if (graphics.DrawImage(m_bitmap.get(), Gdiplus::Rect(0, 0, width, height), source.left, source.top,
                               source.Width(), source.Height(), Gdiplus::UnitPixel) != Gdiplus::Ok) {
            return {};
        }
        graphics.Flush(Gdiplus::FlushIntentionSync);
        m_enlarged.push_front(std::move(made));
        if (m_enlarged.size() > kKept) {
            m_enlarged.pop_back();
        }
    } else {
        m_enlarged.splice(m_enlarged.begin(), m_enlarged, found);
    }
    const Enlarged& front = m_enlarged.front();
    return ConstPixelView{front.pixels.data(), static_cast<ptrdiff_t>(front.width) * 4, front.width, front.height};
}

bool CImage::LoadFromResource(UINT resourceId, const wchar_t* resourceType, HMODULE module) {
    Free();
    if (!module) {
        module = ::GetModuleHandleW(nullptr);
    }
    CStreamPtr stream = StreamFromResource(module, resourceId, resourceType);
    if (!stream) {
        WriteLog(L"[tid:%d] image resource %u not loaded", ::GetCurrentThreadId(), resourceId);
        return false;
    }
    Adopt(Gdiplus::Bitmap::FromStream(stream.get(), FALSE));
    return IsValid();
}

bool CImage::LoadFromFile(const wchar_t* path) {
    Free();
    if (!path || !*path) {
        return false;
    }
    if (!Adopt(Gdiplus::Bitmap::FromFile(path, FALSE))) {
        WriteLog(L"[tid:%d] image file %s not loaded", ::GetCurrentThreadId(), path);
        return false;
    }
    return true;
}

bool CImage::Attach(Gdiplus::Bitmap* bitmap) {
    Free();
    return Adopt(bitmap) && IsValid();
}

void CImage::Free() {
    m_enlarged.clear();
    m_bitmap.reset();
    m_pixels.clear();
    m_width = 0;
    m_height = 0;
}

int CImage::GetWidth() const {
    return m_bitmap ? static_cast<int>(m_bitmap->GetWidth()) : 0;
}

int CImage::GetHeight() const {
    return m_bitmap ? static_cast<int>(m_bitmap->GetHeight()) : 0;
}

bool CImage::IsValid() const {
    return m_bitmap && GetWidth() != 0 && GetHeight() != 0;
}

void CImage::Draw(HDC dc, int x, int y, int w, int h, const RECT& source) const {
    if (!IsValid() || DrawIntoCanvas(dc, x, y, w, h, ToLayerRect(source))) {
        return;
    }
    CLayerCanvas::CUse graphics(dc);
    // A window drawn at its monitor's scale enlarges every picture: filtered smoothly rather than blocky.
    if (Gdiplus::Matrix transform; graphics->GetTransform(&transform) == Gdiplus::Ok) {
        Gdiplus::REAL m[6] = {};
        transform.GetElements(m);
        if (m[0] > 1.0f || m[3] > 1.0f) {
            graphics->SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
            graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        }
    }
    graphics->DrawImage(m_bitmap.get(), Gdiplus::Rect(x, y, w, h), source.left, source.top, source.right - source.left,
                        source.bottom - source.top, Gdiplus::UnitPixel);
}

void CImage::DrawFrame(HDC dc, int x, int y, int w, int h, int frame) const {
    if (!IsValid()) {
        return;
    }
    int frameWidth = GetFrameWidth();
    int left = frameWidth < 1 ? 0 : frame * frameWidth;
    RECT source = {left, 0, left + frameWidth, m_height};
    Draw(dc, x, y, w, h, source);
}

void CImage::DrawPieces(HDC dc, const std::vector<ImagePiece>& pieces) const {
    if (!IsValid()) {
        return;
    }
    // Into a canvas's bits every piece is stretched from its own pixels to edges rounded once, so pieces meet
    // exactly at any scale; the graphics library would place fractional edges half transparent (a seam).
    if (CLayerCanvas::PixelDpi(dc)) {
        for (const ImagePiece& piece : pieces) {
            const ConstPixelView view = PixelsOf(piece.source);
            if (view.scan0) {
                CLayerCanvas::StretchPixels(dc, ToRect(piece.dest), view);
            }
        }
        return;
    }
    std::vector<ImagePiece> stretched;
    for (const ImagePiece& piece : pieces) {
        const LayerRect& d = piece.dest;
        const LayerRect& s = piece.source;
        if (d.Width() == s.Width() && d.Height() == s.Height()) {
            Draw(dc, d.left, d.top, d.Width(), d.Height(), RECT{s.left, s.top, s.right, s.bottom});
        } else {
            stretched.push_back(piece);
        }
    }
    if (stretched.empty()) {
        return;
    }
    CLayerCanvas::CUse graphics(dc);
    // Filtering would blend each stretched cell with its neighbour in the picture (a halo along every cut);
    // the stretched parts of sliced skins are uniform along the stretch, so nearest pixels lose nothing.
    graphics->SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    for (const ImagePiece& piece : stretched) {
        const LayerRect& s = piece.source;
        const LayerRect& d = piece.dest;
        graphics->DrawImage(m_bitmap.get(), Gdiplus::Rect(d.left, d.top, d.Width(), d.Height()), s.left, s.top,
                            s.Width(), s.Height(), Gdiplus::UnitPixel, &attributes);
    }
}
