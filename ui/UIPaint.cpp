#include "ui/UIPaint.h"

#include <algorithm>

namespace {

Gdiplus::Color ToColor(uint32_t argb) {
    return Gdiplus::Color(static_cast<Gdiplus::ARGB>(argb));
}

void AddRoundRect(Gdiplus::GraphicsPath& path, const Gdiplus::RectF& box, float radius) {
    const float r = std::min({radius, box.Width / 2, box.Height / 2});
    if (r <= 0) {
        path.AddRectangle(box);
        return;
    }
    const float d = 2 * r;
    path.AddArc(box.X, box.Y, d, d, 180, 90);
    path.AddArc(box.X + box.Width - d, box.Y, d, d, 270, 90);
    path.AddArc(box.X + box.Width - d, box.Y + box.Height - d, d, d, 0, 90);
    path.AddArc(box.X, box.Y + box.Height - d, d, d, 90, 90);
    path.CloseFigure();
}

} // namespace

void FillUIRoundRect(Gdiplus::Graphics& g, const Gdiplus::RectF& box, float radius, uint32_t argb) {
    if ((argb >> 24) == 0 || box.Width <= 0 || box.Height <= 0) {
        return;
    }
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, box, radius);
    Gdiplus::SolidBrush brush(ToColor(argb));
    g.FillPath(&brush, &path);
}

void FrameUIRoundRect(Gdiplus::Graphics& g, const Gdiplus::RectF& box, float radius, uint32_t argb) {
    if ((argb >> 24) == 0 || box.Width <= 1 || box.Height <= 1) {
        return;
    }
    // The pen's centre runs half a pixel inside, so the whole line stays within the box.
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, Gdiplus::RectF(box.X + 0.5f, box.Y + 0.5f, box.Width - 1, box.Height - 1), radius - 0.5f);
    Gdiplus::Pen pen(ToColor(argb), 1.0f);
    g.DrawPath(&pen, &path);
}

void DrawUIText(Gdiplus::Graphics& g, const std::wstring& text, const Gdiplus::Font& font, const Gdiplus::RectF& box,
                uint32_t argb, UIAlign align) {
    if (text.empty() || (argb >> 24) == 0) {
        return;
    }
    Gdiplus::StringFormat format;
    format.SetAlignment(align == UIAlign::Center  ? Gdiplus::StringAlignmentCenter
                        : align == UIAlign::Right ? Gdiplus::StringAlignmentFar
                                                  : Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    Gdiplus::SolidBrush brush(ToColor(argb));
    g.DrawString(text.c_str(), static_cast<INT>(text.size()), &font, box, &format, &brush);
}

void DrawUIChevron(Gdiplus::Graphics& g, Gdiplus::PointF centre, float halfWidth, uint32_t argb) {
    Gdiplus::Pen pen(ToColor(argb), 1.5f);
    const Gdiplus::PointF points[] = {{centre.X - halfWidth, centre.Y - halfWidth / 2},
                                      {centre.X, centre.Y + halfWidth / 2},
                                      {centre.X + halfWidth, centre.Y - halfWidth / 2}};
    g.DrawLines(&pen, points, 3);
}

void DrawUICross(Gdiplus::Graphics& g, Gdiplus::PointF centre, float halfSize, uint32_t argb) {
    Gdiplus::Pen pen(ToColor(argb), 1.5f);
    g.DrawLine(&pen, centre.X - halfSize, centre.Y - halfSize, centre.X + halfSize, centre.Y + halfSize);
    g.DrawLine(&pen, centre.X - halfSize, centre.Y + halfSize, centre.X + halfSize, centre.Y - halfSize);
}
