#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/UIAttributes.h"

class CUIDialog;

// A windowless control of a dialog ("ControlUI"): a box with an optional fill, border and one line of text,
// placed relative to its parent, holding child controls drawn above it. The concrete controls add what
// they react to. Everything here runs on the UI thread.
class CUIControl {
public:
    CUIControl() = default;
    virtual ~CUIControl() = default;
    CUIControl(const CUIControl&) = delete;
    CUIControl& operator=(const CUIControl&) = delete;

    // Applies one layout attribute; false for a name this control does not know or a value not of its form.
    virtual bool SetAttribute(const std::wstring& name, const std::wstring& value);
    void AddChild(std::unique_ptr<CUIControl> child);
    // Attaches this control and its children to the dialog that draws them and takes their notifications.
    void SetManager(CUIDialog* manager);

    const std::wstring& GetName() const { return m_name; }
    const std::wstring& GetText() const { return m_text; }
    void SetText(const std::wstring& text);
    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible);
    // The control's rectangle in the dialog's client coordinates.
    RECT GetPos() const;

    // The first control of that name in this subtree (depth first), or null.
    CUIControl* FindControl(const std::wstring& name);
    // The visible control that takes clicks under the client point, the topmost (last drawn) first; null
    // when the point is over no such control.
    CUIControl* FindClickable(POINT point);
    virtual bool TakesClicks() const { return false; }
    // Pointer feedback, set by the dialog.
    void SetHot(bool hot);
    void SetPushed(bool pushed);
    // A press and release on the control.
    virtual void OnClick() {}

    void Paint(Gdiplus::Graphics& g);

protected:
    // Draws the control's own look into its box (client coordinates); children follow.
    virtual void PaintSelf(Gdiplus::Graphics& g, const Gdiplus::RectF& box);
    // The fill and text colour for the current pointer state.
    uint32_t CurrentBackColor() const;
    uint32_t CurrentTextColor() const;
    const Gdiplus::Font* Font() const;
    void Invalidate();
    CUIDialog* Manager() const { return m_manager; }
    bool IsHot() const { return m_hot; }
    float Radius() const { return m_radius; }
    uint32_t BorderColor() const { return m_borderColor; }
    UIAlign Align() const { return m_align; }
    // Inner distance of the text from the left and right edges.
    float TextInset() const { return static_cast<float>(m_textInset); }

private:
    std::wstring m_name;
    std::wstring m_text;
    UIRect m_pos;
    bool m_visible = true;
    uint32_t m_backColor = 0;
    uint32_t m_hotBackColor = 0;
    uint32_t m_pushedBackColor = 0;
    uint32_t m_borderColor = 0;
    uint32_t m_textColor = 0xFFFFFFFF;
    uint32_t m_hotTextColor = 0;
    float m_radius = 0;
    int m_fontSize = 13;
    bool m_bold = false;
    UIAlign m_align = UIAlign::Left;
    int m_textInset = 0;
    bool m_hot = false;
    bool m_pushed = false;
    CUIControl* m_parent = nullptr;
    CUIDialog* m_manager = nullptr;
    std::vector<std::unique_ptr<CUIControl>> m_children;
};
