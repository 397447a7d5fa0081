#include "ui/UIOption.h"

#include "ui/UIDialog.h"
#include "ui/UIPaint.h"

namespace {

constexpr float kBoxSize = 14.0f;
constexpr float kBoxGap = 6.0f;

} // namespace

bool CUIOption::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"selected") {
        return ParseUIBool(value, m_selected);
    }
    if (name == L"checkcolor") {
        return ParseUIColor(value, m_checkColor);
    }
    return CUIControl::SetAttribute(name, value);
}

void CUIOption::OnClick() {
    Select(!m_selected);
    if (Manager()) {
        Manager()->SendNotify(this, L"click");
    }
}

void CUIOption::Select(bool selected) {
    if (selected != m_selected) {
        m_selected = selected;
        Invalidate();
    }
}

void CUIOption::PaintSelf(Gdiplus::Graphics& g, const Gdiplus::RectF& box) {
    const Gdiplus::RectF tick(box.X + TextInset(), box.Y + (box.Height - kBoxSize) / 2, kBoxSize, kBoxSize);
    if (m_selected) {
        FillUIRoundRect(g, tick, 3, m_checkColor);
        Gdiplus::Pen pen(Gdiplus::Color(0xFFFFFFFF), 1.6f);
        const Gdiplus::PointF mark[] = {
            {tick.X + 3.5f, tick.Y + 7.0f}, {tick.X + 6.0f, tick.Y + 9.5f}, {tick.X + 10.5f, tick.Y + 4.5f}};
        g.DrawLines(&pen, mark, 3);
    } else {
        FrameUIRoundRect(g, tick, 3, CurrentTextColor());
    }
    if (const Gdiplus::Font* font = Font()) {
        const float left = tick.X + kBoxSize + kBoxGap;
        DrawUIText(g, GetText(), *font, Gdiplus::RectF(left, box.Y, box.X + box.Width - left, box.Height),
                   CurrentTextColor(), UIAlign::Left);
    }
}
