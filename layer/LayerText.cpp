#include "layer/LayerText.h"

#include "layer/LayerCanvas.h"

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

// One graphics and string format draw every pass of a text.
class CTextPasses {
public:
    CTextPasses(HDC dc, UINT flags) : m_graphics(dc) {
        m_graphics->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        ApplyTextFormat(m_format, flags);
    }
    void Draw(const std::wstring& text, Gdiplus::Font* font, const RECT& rect, COLORREF color, int dx = 0, int dy = 0) {
        Gdiplus::SolidBrush brush(ToGdiplusColor(color, kLayerFillAlpha));
        Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rect.left + dx), static_cast<Gdiplus::REAL>(rect.top + dy),
                              static_cast<Gdiplus::REAL>(rect.right - rect.left),
                              static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
        m_graphics->DrawString(text.c_str(), static_cast<INT>(text.size()), font, layout, &m_format, &brush);
    }

private:
    CLayerCanvas::CUse m_graphics;
    Gdiplus::StringFormat m_format;
};

} // namespace

void FillLayerRect(HDC dc, const RECT& rect, COLORREF color) {
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
    if (text.empty() || !font) {
        return;
    }
    CTextPasses passes(dc, flags);
    if (shadow != kNoColor) {
        passes.Draw(text, font, rect, shadow, 0, 1);
    }
    passes.Draw(text, font, rect, color);
}

void DrawLayerOutlinedText(HDC dc, const std::wstring& text, Gdiplus::Font* font, const RECT& rect, COLORREF color,
                           COLORREF outline, UINT flags) {
    if (text.empty() || !font) {
        return;
    }
    CTextPasses passes(dc, flags);
    const POINT offsets[] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (POINT offset : offsets) {
        passes.Draw(text, font, rect, outline, offset.x, offset.y);
    }
    passes.Draw(text, font, rect, color);
}
