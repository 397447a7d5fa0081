#pragma once

#include "ui/UIControl.h"

// A check option ("OptionUI"): a box before its text that a click ticks or clears; reports "click" after the
// change. The tick is drawn in checkcolor.
class CUIOption : public CUIControl {
public:
    bool SetAttribute(const std::wstring& name, const std::wstring& value) override;
    bool TakesClicks() const override { return true; }
    void OnClick() override;

    bool IsSelected() const { return m_selected; }
    void Select(bool selected);

protected:
    void PaintSelf(Gdiplus::Graphics& g, const Gdiplus::RectF& box) override;

private:
    bool m_selected = false;
    uint32_t m_checkColor = 0xFF3A8EE6;
};
