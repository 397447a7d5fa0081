#include "layer/LayerCalendarItemCtrl.h"

#include "layer/LayerText.h"

namespace {

constexpr COLORREF kSelectedFill = 0x6070F3;
constexpr COLORREF kRestBadge = 0x1EBB68;
constexpr COLORREF kWorkBadge = 0x2CA2F5;
constexpr COLORREF kBadgeText = 0xFFFFFF;
constexpr UINT kSubTextFormat = 0x1010;
constexpr UINT kBadgeTextFormat = 0x1011;

} // namespace

void CLayerCalendarItemCtrl::Paint(HDC dc) {
    if (m_selected) {
        FillLayerRect(dc, m_rect, kSelectedFill);
    }
    DrawLayerString(dc, m_mainText, m_mainFont, RECT{m_rect.left, m_rect.top, m_rect.right, m_rect.top + 40},
                    m_mainColor, m_textFormat);
    DrawLayerString(dc, m_subText, m_subFont, RECT{m_rect.left, m_rect.top + 30, m_rect.right, m_rect.bottom},
                    m_subColor, kSubTextFormat);
    if (m_badge == kBadgeRest || m_badge == kBadgeWork) {
        RECT square{m_rect.right - 16, m_rect.top, m_rect.right - 1, m_rect.top + 15};
        FillLayerRect(dc, square, m_badge == kBadgeRest ? kRestBadge : kWorkBadge);
        DrawLayerString(dc, m_badge == kBadgeRest ? L"\u4F11" : L"\u73ED", m_badgeFont, square, kBadgeText,
                        kBadgeTextFormat);
    }
}

void CLayerCalendarItemCtrl::OnLButtonUp(UINT, int, int, BOOL&) {
    PostCommandIfInteractive();
}
