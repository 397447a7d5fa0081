#include "ui/UIControl.h"

#include "ui/UIDialog.h"
#include "ui/UIPaint.h"

namespace {

constexpr int kMaxFontSize = 72;
constexpr int kMaxRadius = 64;

} // namespace

bool CUIControl::SetAttribute(const std::wstring& name, const std::wstring& value) {
    static const struct {
        const wchar_t* name;
        uint32_t CUIControl::*member;
    } kColors[] = {
        {L"bkcolor", &CUIControl::m_backColor},
        {L"hotbkcolor", &CUIControl::m_hotBackColor},
        {L"pushedbkcolor", &CUIControl::m_pushedBackColor},
        {L"bordercolor", &CUIControl::m_borderColor},
        {L"textcolor", &CUIControl::m_textColor},
        {L"hottextcolor", &CUIControl::m_hotTextColor},
    };
    for (const auto& color : kColors) {
        if (name == color.name) {
            return ParseUIColor(value, this->*color.member);
        }
    }
    int radius = 0;
    if (name == L"name") {
        m_name = value;
    } else if (name == L"text") {
        m_text = value;
    } else if (name == L"pos") {
        return ParseUIRect(value, m_pos);
    } else if (name == L"visible") {
        return ParseUIBool(value, m_visible);
    } else if (name == L"radius") {
        if (!ParseUIInt(value, 0, kMaxRadius, radius)) {
            return false;
        }
        m_radius = static_cast<float>(radius);
    } else if (name == L"fontsize") {
        return ParseUIInt(value, 6, kMaxFontSize, m_fontSize);
    } else if (name == L"bold") {
        return ParseUIBool(value, m_bold);
    } else if (name == L"align") {
        return ParseUIAlign(value, m_align);
    } else if (name == L"textinset") {
        return ParseUIInt(value, 0, kMaxRadius, m_textInset);
    } else {
        return false;
    }
    return true;
}

void CUIControl::AddChild(std::unique_ptr<CUIControl> child) {
    child->m_parent = this;
    child->SetManager(m_manager);
    m_children.push_back(std::move(child));
}

void CUIControl::SetManager(CUIDialog* manager) {
    m_manager = manager;
    for (const auto& child : m_children) {
        child->SetManager(manager);
    }
}

void CUIControl::SetText(const std::wstring& text) {
    if (text != m_text) {
        m_text = text;
        Invalidate();
    }
}

void CUIControl::SetVisible(bool visible) {
    if (visible != m_visible) {
        m_visible = visible;
        Invalidate();
    }
}

RECT CUIControl::GetPos() const {
    RECT rect{m_pos.x, m_pos.y, m_pos.x + m_pos.width, m_pos.y + m_pos.height};
    if (m_parent) {
        const RECT parent = m_parent->GetPos();
        ::OffsetRect(&rect, parent.left, parent.top);
    }
    return rect;
}

CUIControl* CUIControl::FindControl(const std::wstring& name) {
    if (m_name == name) {
        return this;
    }
    for (const auto& child : m_children) {
        if (CUIControl* found = child->FindControl(name)) {
            return found;
        }
    }
    return nullptr;
}

CUIControl* CUIControl::FindClickable(POINT point) {
    if (!m_visible) {
        return nullptr;
    }
    const RECT pos = GetPos();
    if (!::PtInRect(&pos, point)) {
        return nullptr;
    }
    for (auto child = m_children.rbegin(); child != m_children.rend(); ++child) {
        if (CUIControl* found = (*child)->FindClickable(point)) {
            return found;
        }
    }
    return TakesClicks() ? this : nullptr;
}

void CUIControl::SetHot(bool hot) {
    if (hot != m_hot) {
        m_hot = hot;
        Invalidate();
    }
}

void CUIControl::SetPushed(bool pushed) {
    if (pushed != m_pushed) {
        m_pushed = pushed;
        Invalidate();
    }
}

void CUIControl::Paint(Gdiplus::Graphics& g) {
    if (!m_visible) {
        return;
    }
    const RECT pos = GetPos();
    PaintSelf(g, Gdiplus::RectF(static_cast<float>(pos.left), static_cast<float>(pos.top),
                                static_cast<float>(pos.right - pos.left), static_cast<float>(pos.bottom - pos.top)));
    for (const auto& child : m_children) {
        child->Paint(g);
    }
}

void CUIControl::PaintSelf(Gdiplus::Graphics& g, const Gdiplus::RectF& box) {
    FillUIRoundRect(g, box, m_radius, CurrentBackColor());
    FrameUIRoundRect(g, box, m_radius, m_borderColor);
    if (const Gdiplus::Font* font = Font()) {
        const float inset = TextInset();
        DrawUIText(g, m_text, *font, Gdiplus::RectF(box.X + inset, box.Y, box.Width - 2 * inset, box.Height),
                   CurrentTextColor(), m_align);
    }
}

uint32_t CUIControl::CurrentBackColor() const {
    if (m_pushed && m_pushedBackColor) {
        return m_pushedBackColor;
    }
    if ((m_hot || m_pushed) && m_hotBackColor) {
        return m_hotBackColor;
    }
    return m_backColor;
}

uint32_t CUIControl::CurrentTextColor() const {
    return (m_hot || m_pushed) && m_hotTextColor ? m_hotTextColor : m_textColor;
}

const Gdiplus::Font* CUIControl::Font() const {
    return m_manager ? m_manager->GetFont(m_fontSize, m_bold) : nullptr;
}

void CUIControl::Invalidate() {
    if (m_manager) {
        m_manager->Invalidate();
    }
}
