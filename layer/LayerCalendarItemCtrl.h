#pragma once

#include <string>

#include "layer/LayerControlBase.h"

// One day of a month grid: the day number, a lunar day or festival under it, a selection fill and a
// corner badge for official rest (休) and working (班) days. An interactive cell posts WM_COMMAND when
// clicked.
class CLayerCalendarItemCtrl : public CLayerControlBase {
public:
    enum Badge { kBadgeNone = 0, kBadgeRest = 1, kBadgeWork = 2 };

    CLayerCalendarItemCtrl() : CLayerControlBase(kLayerTypeLabel) {}

    void Paint(HDC dc) override;
    void OnLButtonUp(UINT flags, int x, int y, BOOL& handled) override;

    void SetMainTextColor(COLORREF color, BOOL redraw) { Update(m_mainColor, color, redraw); }
    COLORREF GetMainTextColor() const { return m_mainColor; }
    void SetSubTextColor(COLORREF color, BOOL redraw) { Update(m_subColor, color, redraw); }
    COLORREF GetSubTextColor() const { return m_subColor; }
    void SetMainFont(Gdiplus::Font* font) { m_mainFont = font; }
    void SetSubFont(Gdiplus::Font* font) { m_subFont = font; }
    void SetBadgeFont(Gdiplus::Font* font) { m_badgeFont = font; }
    void SetMainText(const std::wstring& text, BOOL redraw) { Update(m_mainText, text, redraw); }
    const std::wstring& GetMainText() const { return m_mainText; }
    void SetSubText(const std::wstring& text, BOOL redraw) { Update(m_subText, text, redraw); }
    const std::wstring& GetSubText() const { return m_subText; }
    void SetSelected(bool selected, BOOL redraw) { Update(m_selected, selected, redraw); }
    bool IsSelected() const { return m_selected; }
    // Kept for the window's own use (dimming other months is its choice); painting ignores it.
    void SetInCurrentMonth(bool inMonth) { m_inCurrentMonth = inMonth; }
    bool IsInCurrentMonth() const { return m_inCurrentMonth; }
    void SetBadge(int badge, BOOL redraw) { Update(m_badge, badge, redraw); }
    int GetBadge() const { return m_badge; }

private:
    COLORREF m_mainColor = 0;
    COLORREF m_subColor = 0;
    Gdiplus::Font* m_mainFont = nullptr;
    Gdiplus::Font* m_subFont = nullptr;
    Gdiplus::Font* m_badgeFont = nullptr;
    std::wstring m_mainText;
    std::wstring m_subText;
    bool m_selected = false;
    bool m_inCurrentMonth = true;
    int m_badge = kBadgeNone;
};
