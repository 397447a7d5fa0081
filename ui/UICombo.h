#pragma once

#include <string>
#include <vector>

#include "ui/UIControl.h"

// A drop-down list ("ComboUI"): shows the selected item's text; a click opens the dialog's drop list, and a
// pick there selects the item and reports "itemselect". Each item carries a text and a user data string.
class CUICombo : public CUIControl {
public:
    // How the open list looks, from the combo's layout attributes.
    struct ListLook {
        int itemHeight = 26;
        int maxRows = 8;
        uint32_t backColor = 0xF5262A30;
        uint32_t hotColor = 0xFF3A8EE6;
        uint32_t textColor = 0xFFE8E8E8;
        uint32_t selectedTextColor = 0xFF6CB4FF;
    };

    bool SetAttribute(const std::wstring& name, const std::wstring& value) override;
    bool TakesClicks() const override { return true; }
    void OnClick() override;

    void RemoveAll();
    // Appends an item; returns its index.
    int AddItem(const std::wstring& text, const std::wstring& data);
    int GetCount() const { return static_cast<int>(m_items.size()); }
    // The selected index, -1 for none.
    int GetCurSel() const { return m_selected; }
    // Selects an item (-1 clears the selection) without reporting it; false for an index out of range.
    bool SelectItem(int index);
    // What the user picked in the open list: selects it and reports "itemselect" with the index.
    void PickItem(int index);
    // An item's text and user data; empty for an index out of range.
    const std::wstring& GetItemText(int index) const;
    const std::wstring& GetItemData(int index) const;

    const ListLook& GetListLook() const { return m_look; }
    const Gdiplus::Font* ItemFont() const { return Font(); }

protected:
    void PaintSelf(Gdiplus::Graphics& g, const Gdiplus::RectF& box) override;

private:
    struct Item {
        std::wstring text;
        std::wstring data;
    };

    std::vector<Item> m_items;
    int m_selected = -1;
    ListLook m_look;
    uint32_t m_arrowColor = 0xFFB0B4BA;
};
