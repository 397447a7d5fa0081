#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <string>

#include "layer/LayerControlMath.h"

// Drawing helpers shared by the standard controls: colour conversion, rectangles and text.

// Text and fills are drawn at 254, not 255, and lines at 255; -1 (no colour) comes out white.
constexpr BYTE kLayerFillAlpha = 254;
constexpr BYTE kLayerLineAlpha = 255;
constexpr COLORREF kNoColor = static_cast<COLORREF>(-1);

inline Gdiplus::Color ToGdiplusColor(COLORREF color, BYTE alpha) {
    return Gdiplus::Color(alpha, GetRValue(color), GetGValue(color), GetBValue(color));
}
inline LayerRect ToLayerRect(const RECT& r) {
    return LayerRect{r.left, r.top, r.right, r.bottom};
}
inline RECT ToRect(const LayerRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}
inline RECT ShrinkRect(const RECT& rect, const RECT& insets) {
    return ToRect(ShrinkRect(ToLayerRect(rect), ToLayerRect(insets)));
}

// Fills a rectangle with a colour at the fill alpha.
void FillLayerRect(HDC dc, const RECT& rect, COLORREF color);

// A string format built from the control text format flags.
void ApplyTextFormat(Gdiplus::StringFormat& format, UINT flags);

// Draws text once, anti-aliased, in the colour at the fill alpha. Nothing without text or font.
void DrawLayerString(HDC dc, const std::wstring& text, Gdiplus::Font* font, const RECT& rect, COLORREF color,
                     UINT flags);

// Draws a control's text: first one pixel lower in the shadow colour (unless it is -1), then in place.
void DrawLayerText(HDC dc, const std::wstring& text, Gdiplus::Font* font, const RECT& rect, COLORREF color,
                   COLORREF shadow, UINT flags);

// Draws text four times in the outline colour, moved by one pixel left, up, right and down, then in
// place in the text colour.
void DrawLayerOutlinedText(HDC dc, const std::wstring& text, Gdiplus::Font* font, const RECT& rect, COLORREF color,
                           COLORREF outline, UINT flags);
