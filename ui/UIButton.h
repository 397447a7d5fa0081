#pragma once

#include "ui/UIControl.h"

// A push button ("ButtonUI"): reports "click" to the dialog. With glyph="close" it draws a cross instead of
// its text.
class CUIButton : public CUIControl {
public:
    bool SetAttribute(const std::wstring& name, const std::wstring& value) override;
    bool TakesClicks() const override { return true; }
    void OnClick() override;

protected:
    void PaintSelf(Gdiplus::Graphics& g, const Gdiplus::RectF& box) override;

private:
    bool m_closeGlyph = false;
};
