#include "ui/UIButton.h"

#include "ui/UIDialog.h"
#include "ui/UIPaint.h"

bool CUIButton::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"glyph") {
        m_closeGlyph = value == L"close";
        return m_closeGlyph;
    }
    return CUIControl::SetAttribute(name, value);
}

void CUIButton::OnClick() {
    if (Manager()) {
        Manager()->SendNotify(this, L"click");
    }
}

void CUIButton::PaintSelf(Gdiplus::Graphics& g, const Gdiplus::RectF& box) {
    CUIControl::PaintSelf(g, box);
    if (m_closeGlyph) {
        DrawUICross(g, Gdiplus::PointF(box.X + box.Width / 2, box.Y + box.Height / 2), box.Width / 6,
                    CurrentTextColor());
    }
}
