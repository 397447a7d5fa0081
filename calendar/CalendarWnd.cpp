#include "calendar/CalendarWnd.h"

#include <cwchar>

#include "app/base/SimpleBind.h"
#include "app/base/SmartLogger.h"
#include "app/SystemUtils.h"
#include "app/UIThreadWindow.h"
#include "calendar/CalendarCellText.h"
#include "calendar/CalendarClock.h"
#include "calendar/CalendarDataModel.h"
#include "calendar/CalendarLayout.h"
#include "layer/LayerButtonCtrl.h"
#include "layer/LayerCalendarItemCtrl.h"
#include "layer/LayerControlFactory.h"
#include "layer/LayerImageCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "layer/LayerSliderCtrl.h"
#include "layer/SkinRegistry.h"

namespace {

// Skin fonts.
constexpr int kFontSmall = 1003;
constexpr int kFontMonthName = 1007;
constexpr int kFontCell = 1010;
constexpr int kFontPercent = 1012;
constexpr int kFontBadge = 1013;
constexpr int kFontDay = 1016;
constexpr int kFontToday = 1017;

// Skin images.
constexpr int kImageMonthBase = 1018;
constexpr int kImageSliderThumb = 1031;
constexpr int kImageSliderTrack = 1032;
constexpr int kImageClose = 1033;
constexpr int kImageSeparator = 1036;

// Colours, 0x00BBGGRR.
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kWeekend = 0x6071F2;
constexpr COLORREF kWeekday = 0xF49E37;
constexpr COLORREF kMonthSub = 0x757575;
constexpr COLORREF kOtherMonthMain = 0x9D9D9D;
constexpr COLORREF kOtherMonthSub = 0x868686;
constexpr COLORREF kYear = 0xC1BCB4;

// Grid geometry.
constexpr int kGridLeft = 8;
constexpr int kCellWidth = 53;
constexpr int kCellHeight = 56;
constexpr int kRowPitch = 57;
constexpr int kFirstRowTop = 125;

} // namespace

CCalendarWnd::CCalendarWnd() : m_widget(*this, *this, kWidgetCalendar, L"calendar", kCalendarWidth) {}

void CCalendarWnd::OnLayerCreate() {
    SetLayerSize(kCalendarWidth, kCalendarHeight);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    AllowWindowMessage(WM_COPYDATA);
    // The widget moves itself from its own mouse hooks, so it can save where it went.
    SetDragByBackground(FALSE);
    BuildLayout();
    SetTransparency(m_widget.RestoreTransparency(*m_slider));
    CCalendarDataModel::GetInstance()->SetView(this);
}

void CCalendarWnd::BuildLayout() {
    CLayerControlRootView* root = GetRootView();
    HWND hwnd = m_hWnd;
    m_frame = AddPicture(root, hwnd, this, 0, 0, kCalendarWidth, kCalendarHeight, -1);
    m_body = AddPicture(root, hwnd, this, 0, 32, 387, 443, -1);
    m_titleStrip = AddPicture(root, hwnd, this, 8, 8, 371, 32, -1);

    m_monthPicture = AddControl<CLayerImageCtrl>(root, hwnd, this, 0, 30, 58, 0, 29);
    m_monthName = AddLabel(root, hwnd, this, 35, 69, 95, 20, kFontMonthName, kMonthSub);
    m_yearLabel = AddLabel(root, hwnd, this, 291, 60, 100, 30, kFontDay, kYear);

    for (int c = 0; c < 7; ++c) {
        CLayerLabelCtrl* weekday = AddLabel(root, hwnd, this, kGridLeft + kCellWidth * c, 96, kCellWidth, 20,
                                            kFontMonthName, c >= 5 ? kWeekend : kWeekday);
        weekday->SetTextFormat(0x1011);
        weekday->SetText(WeekdayHeaderText(c), FALSE);
    }
    for (int r = 0; r < 6; ++r) {
        AddPicture(root, hwnd, this, kGridLeft, kFirstRowTop - 1 + kRowPitch * r, 371, 1, kImageSeparator);
        for (int c = 0; c < 7; ++c) {
            auto* cell = AddControl<CLayerCalendarItemCtrl>(root, hwnd, this, 0, kGridLeft + kCellWidth * c,
                                                            kFirstRowTop + kRowPitch * r, kCellWidth, kCellHeight);
            cell->SetFont(GetFont(kFontCell));
            cell->SetBadgeFont(GetFont(kFontBadge));
            cell->SetVisible(FALSE, FALSE);
            m_cells[r * 7 + c] = cell;
        }
    }

    CLayerLabelCtrl* caption = AddLabel(root, hwnd, this, 105, 0, 45, 32, kFontSmall, kWhite);
    caption->SetText(L"透明度", FALSE);
    m_slider = AddControl<CLayerSliderCtrl>(root, hwnd, this, kSliderId, 148, 8, 75, 17);
    m_slider->SetTrackImage(GetImage(kImageSliderTrack));
    m_slider->SetThumbImage(GetImage(kImageSliderThumb));
    if (CImage* thumb = GetImage(kImageSliderThumb)) {
        m_slider->SetRange(75 - thumb->GetFrameWidth());
    }
    m_percent = AddLabel(root, hwnd, this, 225, 0, 40, 32, kFontPercent, kWhite);
    auto* close = AddControl<CLayerButtonCtrl>(root, hwnd, this, kCloseId, 345, 10, 11, 11);
    close->SetImage(GetImage(kImageClose), FALSE);
    ShowTitleStrip(false);
}

void CCalendarWnd::ShowTitleStrip(bool show) {
    // Only the pictures change: the slider, its texts and the close button stay, so a close is one click.
    m_titleStrip->SetVisible(show, FALSE);
    m_frame->SetVisible(show, FALSE);
    m_body->SetVisible(!show, FALSE);
    InvalidateRect(nullptr, TRUE);
}

bool CCalendarWnd::CreateWidgetWindow(HWND owner) {
    RECT rect{0, 0, kCalendarWidth, kCalendarHeight};
    return IsWindow() || Create(owner, &rect);
}

void CCalendarWnd::OnWidgetShowing() {
    CCalendarDataModel::GetInstance()->RefreshCalendar();
    KillTimer(kDateTimer);
    SetTimer(kDateTimer, kDateCheckMs);
}

void CCalendarWnd::OnWidgetHiding() {
    KillTimer(kDateTimer);
}

void CCalendarWnd::SetMonthData(const CalendarMonth& month) {
    PostToUIThread(new mf_bind_t_1<CCalendarWnd, const CalendarMonth&>(this, &CCalendarWnd::ApplyMonthData, month));
}

void CCalendarWnd::ApplyMonthData(const CalendarMonth& month) {
    m_month = month;
    RefreshGrid();
}

void CCalendarWnd::SetHolidayDays(const HolidayDaySet& rest, const HolidayDaySet& work) {
    m_rest = rest;
    m_work = work;
    RefreshGrid();
}

void CCalendarWnd::SetSolarTermNames(const SolarTermMap& terms, const std::wstring& year) {
    m_terms = terms;
    m_termYear = year;
    RefreshGrid();
}

std::wstring CCalendarWnd::GetCellSubText(const LunarInfo& lunar, PackedDate date) const {
    return CellSubText(lunar, date, m_terms, m_termYear);
}

void CCalendarWnd::RefreshGrid() {
    if (!IsWindow() || m_month.days.size() != CalendarMonth::kCells || m_month.lunar.size() != CalendarMonth::kCells) {
        return;
    }
    for (int i = 0; i < CalendarMonth::kCells; ++i) {
        CLayerCalendarItemCtrl* cell = m_cells[i];
        const PackedDate date = m_month.days[i].date;
        const int column = i % 7;
        wchar_t day[16] = {};
        std::swprintf(day, 16, L"%d", PackedDay(date));
        cell->SetMainText(day, FALSE);
        cell->SetSubText(DisplayedSubText(m_month.lunar[i], date, m_terms, m_termYear), FALSE);
        cell->SetVisible(TRUE, FALSE);
        cell->SetMainFont(GetFont(kFontDay));
        cell->SetSubFont(GetFont(kFontSmall));
        cell->SetSelected(false, FALSE);
        const bool inMonth = PackedMonth(date) == m_month.month;
        cell->SetMainTextColor(inMonth ? (column >= 5 ? kWeekend : kWhite) : kOtherMonthMain, FALSE);
        cell->SetSubTextColor(inMonth ? kMonthSub : kOtherMonthSub, FALSE);
        cell->SetInCurrentMonth(inMonth);
        if (inMonth && PackedDay(date) == m_month.day) {
            cell->SetMainFont(GetFont(kFontToday));
            cell->SetSubFont(GetFont(kFontSmall));
            cell->SetMainTextColor(kWhite, FALSE);
            cell->SetSubTextColor(kWhite, FALSE);
            cell->SetSelected(true, FALSE);
        }
        cell->SetBadge(static_cast<int>(CellBadgeFor(date, m_rest, m_work)), FALSE);
    }
    PlaceHeader(m_month.month, m_month.year);
    m_gridFilled = true;
    InvalidateRect(nullptr, TRUE);
}

BOOL CCalendarWnd::PushFrame(HDC screen, POINT* dest, SIZE* size, HDC source, BLENDFUNCTION* blend, const RECT* dirty) {
    const BOOL pushed = CLayerWindowBase<CCalendarWnd>::PushFrame(screen, dest, size, source, blend, dirty);
    if (pushed && m_gridFilled && !m_firstFrameLogged) {
        m_firstFrameLogged = true;
        WriteLog(L"[tid:%d] calendar first frame", ::GetCurrentThreadId());
    }
    return pushed;
}

void CCalendarWnd::PlaceHeader(int month, int year) {
    CImage* picture = GetImage(kImageMonthBase + month);
    const int width = picture ? picture->GetWidth() : 0;
    m_monthPicture->SetImage(picture, FALSE);
    m_monthPicture->SetRect(RECT{30, 58, 30 + width, 87}, FALSE);
    m_monthName->SetRect(RECT{35 + width, 69, 130 + width, 89}, FALSE);
    m_monthName->SetText(EnglishMonthName(month), FALSE);
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%d", year);
    m_yearLabel->SetText(text, FALSE);
}

void CCalendarWnd::SetTransparency(int percent) {
    const CalendarBackgroundImages images = CalendarBackgroundFor(percent);
    m_titleStrip->SetImage(GetImage(images.titleStrip), FALSE);
    m_body->SetImage(GetImage(images.body), FALSE);
    m_frame->SetImage(GetImage(images.frame), FALSE);
    m_widget.SaveTransparency(percent, *m_percent);
    InvalidateRect(nullptr, TRUE);
}

void CCalendarWnd::OnLayerTimer(UINT id) {
    if (id != kDateTimer || m_month.month == -1) {
        return;
    }
    const CalendarDate today = CalendarToday();
    if (today.year != m_month.year || today.month != m_month.month || today.day != m_month.day) {
        CCalendarDataModel::GetInstance()->RefreshCalendar();
    }
}

void CCalendarWnd::OnLayerLButtonDown(UINT, int, int) {
    ShowTitleStrip(true);
}

LRESULT CCalendarWnd::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    switch (LOWORD(wParam)) {
    case kSliderId:
        SetTransparency(static_cast<int>(lParam));
        break;
    case kCloseId:
        m_widget.Close();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CCalendarWnd::OnActivate(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (LOWORD(wParam) == WA_INACTIVE && reinterpret_cast<HWND>(lParam) != m_hWnd) {
        ShowTitleStrip(false);
    }
    handled = FALSE;
    return 0;
}
