#include "ui/UICombo.h"

#include "ui/UIDialog.h"
#include "ui/UIPaint.h"

namespace {

constexpr float kArrowWidth = 24.0f;

const std::wstring& Empty() {
    static const std::wstring empty;
    return empty;
}

} // namespace

bool CUICombo::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"itemheight") {
        return ParseUIInt(value, 12, 80, m_look.itemHeight);
    }
    if (name == L"maxrows") {
        return ParseUIInt(value, 1, 30, m_look.maxRows);
    }
    static const struct {
        const wchar_t* name;
        uint32_t ListLook::*member;
    } kListColors[] = {{L"listbkcolor", &ListLook::backColor},
                       {L"itemhotcolor", &ListLook::hotColor},
                       {L"itemtextcolor", &ListLook::textColor},
                       {L"itemselectedcolor", &ListLook::selectedTextColor}};
    for (const auto& color : kListColors) {
        if (name == color.name) {
            return ParseUIColor(value, m_look.*color.member);
        }
    }
    if (name == L"arrowcolor") {
        return ParseUIColor(value, m_arrowColor);
    }
    return CUIControl::SetAttribute(name, value);
}

void CUICombo::OnClick() {
    if (Manager()) {
        Manager()->OpenDropList(this);
    }
}

void CUICombo::RemoveAll() {
    m_items.clear();
    m_selected = -1;
    Invalidate();
}

int CUICombo::AddItem(const std::wstring& text, const std::wstring& data) {
    m_items.push_back(Item{text, data});
    return GetCount() - 1;
}

bool CUICombo::SelectItem(int index) {
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    if (index != m_selected) {
        m_selected = index;
        Invalidate();
    }
    return true;
}

void CUICombo::PickItem(int index) {
    if (SelectItem(index) && index >= 0 && Manager()) {
        Manager()->SendNotify(this, L"itemselect", index);
    }
}

const std::wstring& CUICombo::GetItemText(int index) const {
    return index >= 0 && index < GetCount() ? m_items[static_cast<size_t>(index)].text : Empty();
}

const std::wstring& CUICombo::GetItemData(int index) const {
    return index >= 0 && index < GetCount() ? m_items[static_cast<size_t>(index)].data : Empty();
}

void CUICombo::PaintSelf(Gdiplus::Graphics& g, const Gdiplus::RectF& box) {
    FillUIRoundRect(g, box, Radius(), CurrentBackColor());
    FrameUIRoundRect(g, box, Radius(), IsHot() ? m_look.hotColor : BorderColor());
    if (const Gdiplus::Font* font = Font()) {
        const float inset = TextInset();
        DrawUIText(g, GetItemText(m_selected), *font,
                   Gdiplus::RectF(box.X + inset, box.Y, box.Width - inset - kArrowWidth, box.Height),
                   CurrentTextColor(), Align());
    }
    DrawUIChevron(g, Gdiplus::PointF(box.X + box.Width - kArrowWidth / 2, box.Y + box.Height / 2), 4.5f,
                  IsHot() ? m_look.hotColor : m_arrowColor);
}
