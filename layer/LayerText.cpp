#include "layer/LayerText.h"

#include "layer/LayerCanvas.h"
#include "layer/LayerTextCache.h"

namespace {

Gdiplus::StringAlignment ToAlignment(TextAlign align) {
    switch (align) {
    case TextAlign::Center:
        return Gdiplus::StringAlignmentCenter;
    case TextAlign::Far:
        return Gdiplus::StringAlignmentFar;
    default:
        return Gdiplus::StringAlignmentNear;
    }
}

// Draws the passes of a text: rendered ahead and laid into the bits when a canvas paints on the DC, with a
// graphics otherwise.
void DrawTextPasses(HDC dc, const std::wstring& text, Gdiplus::Font* font, const RECT& rect, UINT flags,
                    std::span<const CLayerTextCache::Pass> passes) {
    if (text.empty() || !font) {
        return;
    }
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (int dpi = CLayerCanvas::PixelDpi(dc)) {
        const CLayerTextCache::Rendered* rendered =
            CLayerTextCache::ForThisThread().Get(text, *font, width, height, flags, passes, dpi);
        if (rendered &&
            CLayerCanvas::DrawPixels(dc, rect.left, rect.top, rendered->View(), POINT{rendered->left, rendered->top})) {
            return;
        }
    }
    CLayerCanvas::CUse graphics(dc);
    graphics->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    Gdiplus::StringFormat format;
    ApplyTextFormat(format, flags);
    for (const CLayerTextCache::Pass& pass : passes) {
        Gdiplus::SolidBrush brush(ToGdiplusColor(pass.color, kLayerFillAlpha));
        Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rect.left + pass.dx),
                              static_cast<Gdiplus::REAL>(rect.top + pass.dy), static_cast<Gdiplus::REAL>(width),
                              static_cast<Gdiplus::REAL>(height));
        graphics->DrawString(text.c_str(), static_cast<INT>(text.size()), font, layout, &format, &brush);
    }
}

} // namespace

void FillLayerRect(HDC dc, const RECT& rect, COLORREF color) {
    if (CLayerCanvas::FillPixels(
            dc, rect, PremultipliedPixel(kLayerFillAlpha, GetRValue(color), GetGValue(color), GetBValue(color)))) {
        return;
    }
    CLayerCanvas::CUse graphics(dc);
    Gdiplus::SolidBrush brush(ToGdiplusColor(color, kLayerFillAlpha));
    graphics->FillRectangle(&brush, Gdiplus::Rect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
}

void ApplyTextFormat(Gdiplus::StringFormat& format, UINT flags) {
    TextLayout layout = DecodeTextFormat(flags);
    format.SetAlignment(ToAlignment(layout.horizontal));
    format.SetLineAlignment(ToAlignment(layout.vertical));
    if (layout.trimming == TextTrimming::EllipsisCharacter) {
        format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    } else if (layout.trimming == TextTrimming::EllipsisWord) {
        format.SetTrimming(Gdiplus::StringTrimmingEllipsisWord);
    }
    if (layout.noClip) {
        format.SetFormatFlags(Gdiplus::StringFormatFlagsNoClip);
    } else if (layout.noWrap) {
        format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    }
}

void DrawLayerString(HDC dc, const std::wstring& text, Gdiplus::Font* font, const RECT& rect, COLORREF color,
                     UINT flags) {
    DrawLayerText(dc, text, font, rect, color, kNoColor, flags);
}

void DrawLayerText(HDC dc, const std::wstring& text, Gdiplus::Font* font, const RECT& rect, COLORREF color,
                   COLORREF shadow, UINT flags) {
    if (shadow == kNoColor) {
        const CLayerTextCache::Pass face[] = {{color, 0, 0}};
        DrawTextPasses(dc, text, font, rect, flags, face);
    } else {
        const CLayerTextCache::Pass shadowed[] = {{shadow, 0, 1}, {color, 0, 0}};
        DrawTextPasses(dc, text, font, rect, flags, shadowed);
    }
}

void DrawLayerOutlinedText(HDC dc, const std::wstring& text, Gdiplus::Font* font, const RECT& rect, COLORREF color,
                           COLORREF outline, UINT flags) {
    const CLayerTextCache::Pass outlined[] = {
        {outline, -1, 0}, {outline, 0, -1}, {outline, 1, 0}, {outline, 0, 1}, {color, 0, 0}};
    DrawTextPasses(dc, text, font, rect, flags, outlined);
}
