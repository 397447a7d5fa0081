#include "layer/LayerTextCache.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/base/DpiScale.h"
#include "layer/LayerText.h"

namespace {

// Enough for a calendar month and the other widgets' texts several times over.
constexpr size_t kMaxBytes = 4u << 20;
// A larger picture is drawn directly each time rather than kept.
constexpr int kMaxPixels = 1 << 20;

std::wstring KeyOf(const std::wstring& text, Gdiplus::Font& font, int width, int height, UINT flags,
                   std::span<const CLayerTextCache::Pass> passes, int dpi) {
    Gdiplus::FontFamily family;
    wchar_t name[LF_FACESIZE] = {};
    if (font.GetFamily(&family) != Gdiplus::Ok || family.GetFamilyName(name) != Gdiplus::Ok || !name[0]) {
        return {};
    }
    std::wstring key = std::to_wstring(text.size()) + L':' + text + name;
    for (long long value :
         {static_cast<long long>(font.GetSize() * 64), static_cast<long long>(font.GetStyle()),
          static_cast<long long>(font.GetUnit()), static_cast<long long>(width), static_cast<long long>(height),
          static_cast<long long>(flags), static_cast<long long>(dpi)}) {
        key += L',' + std::to_wstring(value);
    }
    for (const CLayerTextCache::Pass& pass : passes) {
        key += L';' + std::to_wstring(pass.color) + L',' + std::to_wstring(pass.dx) + L',' + std::to_wstring(pass.dy);
    }
    return key;
}

} // namespace

CLayerTextCache& CLayerTextCache::ForThisThread() {
    thread_local CLayerTextCache cache;
    return cache;
}

bool CLayerTextCache::Render(const std::wstring& text, Gdiplus::Font& font, int width, int height, UINT flags,
                             std::span<const Pass> passes, int dpi, Rendered& out) {
    Gdiplus::StringFormat format;
    ApplyTextFormat(format, flags);
    const Gdiplus::RectF layout(0, 0, static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height));
    int reach = 0;
    for (const Pass& pass : passes) {
        reach = std::max({reach, std::abs(pass.dx), std::abs(pass.dy)});
    }
    // A clipped text stays in its layout rectangle, moved by its pass. An unclipped one reaches as far as its
    // lines do: measured without a height bound (a bounded measure stops at the rectangle), its lines may
    // stand above or below the rectangle by their whole overflow, whatever the vertical alignment, and a
    // glyph's ink may stand a little past its advance.
    LayerRect bounds{-reach, -reach, width + reach, height + reach};
    if (DecodeTextFormat(flags).noClip) {
        Gdiplus::Bitmap probe(1, 1, PixelFormat32bppPARGB);
        Gdiplus::Graphics measure(&probe);
        measure.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        const Gdiplus::RectF unbounded(0, 0, static_cast<Gdiplus::REAL>(width), 0);
        Gdiplus::RectF box;
        if (measure.MeasureString(text.c_str(), static_cast<INT>(text.size()), &font, unbounded, &format, &box) !=
            Gdiplus::Ok) {
            return false;
        }
        int slack = reach + 1 + static_cast<int>(font.GetHeight(&measure) / 4);
        int lines = static_cast<int>(box.Height) + 1;
        bounds.left = std::min(bounds.left, static_cast<int>(box.X) - slack);
        bounds.right = std::max(bounds.right, static_cast<int>(box.X + box.Width) + 1 + slack);
        bounds.top = std::min(bounds.top, height - lines - slack);
        bounds.bottom = std::max(bounds.bottom, lines + slack);
    }
    // Worked out in layout units above; the picture holds the pixels they cover at the DPI, its layout
    // rectangle's top-left on a whole pixel as the canvas lays it.
    const double scale = static_cast<double>(dpi) / kBaseDpi;
    const LayerRect pixels{
        static_cast<int>(std::floor(bounds.left * scale)), static_cast<int>(std::floor(bounds.top * scale)),
        static_cast<int>(std::ceil(bounds.right * scale)), static_cast<int>(std::ceil(bounds.bottom * scale))};
    if (static_cast<long long>(pixels.Width()) * pixels.Height() > kMaxPixels) {
        return false;
    }
    out.left = pixels.left;
    out.top = pixels.top;
    out.width = pixels.Width();
    out.height = pixels.Height();
    out.pixels.assign(static_cast<size_t>(out.width) * out.height, 0);
    Gdiplus::Bitmap bitmap(out.width, out.height, out.width * 4, PixelFormat32bppPARGB,
                           reinterpret_cast<BYTE*>(out.pixels.data()));
    Gdiplus::Graphics graphics(&bitmap);
    if (bitmap.GetLastStatus() != Gdiplus::Ok || graphics.GetLastStatus() != Gdiplus::Ok) {
        return false;
    }
    // Scaled only above 100 %, so a text at 100 % is rendered exactly as it was before the scale was known.
    if (dpi != kBaseDpi) {
        graphics.ScaleTransform(static_cast<Gdiplus::REAL>(scale), static_cast<Gdiplus::REAL>(scale));
    }
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    for (const Pass& pass : passes) {
        Gdiplus::SolidBrush brush(ToGdiplusColor(pass.color, kLayerFillAlpha));
        Gdiplus::RectF moved(layout);
        moved.Offset(static_cast<Gdiplus::REAL>(pass.dx - pixels.left / scale),
                     static_cast<Gdiplus::REAL>(pass.dy - pixels.top / scale));
        graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), &font, moved, &format, &brush);
    }
    graphics.Flush(Gdiplus::FlushIntentionSync);
    return true;
}

const CLayerTextCache::Rendered* CLayerTextCache::Get(const std::wstring& text, Gdiplus::Font& font, int width,
                                                      int height, UINT flags, std::span<const Pass> passes, int dpi) {
    // A layout rectangle without width or height has no bound in that direction.
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    std::wstring key = KeyOf(text, font, width, height, flags, passes, dpi);
    if (key.empty()) {
        return nullptr;
    }
    if (auto found = m_index.find(key); found != m_index.end()) {
        m_entries.splice(m_entries.begin(), m_entries, found->second);
        return &found->second->second;
    }
    Rendered rendered;
    if (!Render(text, font, width, height, flags, passes, dpi, rendered)) {
        return nullptr;
    }
    m_bytes += rendered.pixels.size() * sizeof(uint32_t);
    m_entries.emplace_front(key, std::move(rendered));
    m_index.emplace(std::move(key), m_entries.begin());
    while (m_bytes > kMaxBytes && m_entries.size() > 1) {
        m_bytes -= m_entries.back().second.pixels.size() * sizeof(uint32_t);
        m_index.erase(m_entries.back().first);
        m_entries.pop_back();
    }
    return &m_entries.front().second;
}
