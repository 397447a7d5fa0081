#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <cstdint>
#include <string>

#include "ui/UIAttributes.h"

// Drawing helpers of the dialog controls; colours are 0xAARRGGBB, alpha 0 drawing nothing.

// Fills a rectangle with rounded corners (radius 0 gives square ones).
void FillUIRoundRect(Gdiplus::Graphics& g, const Gdiplus::RectF& box, float radius, uint32_t argb);
// Draws a one-pixel outline with rounded corners inside the rectangle.
void FrameUIRoundRect(Gdiplus::Graphics& g, const Gdiplus::RectF& box, float radius, uint32_t argb);
// Draws one line of text, centred vertically and placed horizontally as asked, anti-aliased, clipped.
void DrawUIText(Gdiplus::Graphics& g, const std::wstring& text, const Gdiplus::Font& font, const Gdiplus::RectF& box,
                uint32_t argb, UIAlign align);
// Draws a small downward chevron centred on the point.
void DrawUIChevron(Gdiplus::Graphics& g, Gdiplus::PointF centre, float halfWidth, uint32_t argb);
// Draws a cross of the given half size centred on the point.
void DrawUICross(Gdiplus::Graphics& g, Gdiplus::PointF centre, float halfSize, uint32_t argb);
