#include "weather/WeatherWnd.h"

#include "app/IniSettings.h"
#include "app/SystemUtils.h"
#include "app/UIThreadWindow.h"
#include "app/base/SimpleBind.h"
#include "app/base/SmartLogger.h"
#include "layer/LayerButtonCtrl.h"
#include "layer/LayerCheckboxCtrl.h"
#include "layer/LayerControlFactory.h"
#include "layer/LayerImageCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "layer/LayerSliderCtrl.h"
#include "layer/SkinRegistry.h"
#include "weather/WeatherDataModel.h"
#include "weather/WeatherLayout.h"

namespace {

// Skin fonts.
constexpr int kFontSmall = 1003;
constexpr int kFontRow = 1007;
constexpr int kFontPercent = 1012;
constexpr int kFontTemperature = 1022;

// Skin images.
constexpr int kImageSliderThumb = 1031;
constexpr int kImageClose = 1033;
constexpr int kImageSeparator = 1036;
constexpr int kImageChevron = 1057;
constexpr int kImageSliderTrack = 1058;
constexpr int kImageDegree = 1059;
constexpr int kImagePin = 1070;

// Colours, 0x00BBGGRR.
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kAirQuality = 0xE6DCD2;
constexpr COLORREF kRowText = 0x333333;

// Text formats: centred both ways; left on one line, centred vertically.
constexpr UINT kCentred = 0x11;
constexpr UINT kLeftLine = 0x1001;

constexpr int kSliderWidth = 53;
constexpr int kRowPitch = 41;

// The forecast switch's tooltip for the state it shows.
const wchar_t* ForecastSwitchTip(bool expanded) {
    return expanded ? L"展开查看未来天气" : L"收起未来天气";
}

RECT ToRect(const LayerRect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

CLayerButtonCtrl* AddButton(CLayerControlGroup* parent, HWND hwnd, ILayerWindow* window, int id, int x, int y, int cx,
                            int cy, int image) {
    auto* button = AddControl<CLayerButtonCtrl>(parent, hwnd, window, id, x, y, cx, cy);
    button->SetImage(GetImage(image), FALSE);
    button->SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return button;
}

CLayerLabelCtrl* AddText(CLayerControlGroup* parent, HWND hwnd, ILayerWindow* window, int x, int y, int cx, int cy,
                         int font, COLORREF color, UINT format, const wchar_t* text = nullptr) {
    CLayerLabelCtrl* label = AddLabel(parent, hwnd, window, x, y, cx, cy, font, color);
    label->SetTextFormat(format);
    if (text) {
        label->SetText(text, FALSE);
    }
    return label;
}

} // namespace

CWeatherWnd::CWeatherWnd() : m_widget(*this, *this, kWidgetWeather, L"weather", kWeatherWidth) {
    m_cityDialog.SetEventSink(this);
}

void CWeatherWnd::OnLayerCreate() {
    SetLayerSize(kWeatherWidth, kWeatherHeight);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    AllowWindowMessage(WM_COPYDATA);
    // The widget moves itself from its own mouse hooks, so it can save where it went.
    SetDragByBackground(FALSE);
    m_expanded = CIniSettings::GetInstance()->GetWeatherFuture() != 0;
    BuildLayout();
    SetTransparency(m_widget.RestoreTransparency(*m_slider));
    SetHover(false);
    m_cityDialog.SetAnchor(m_hWnd);
    CWeatherDataModel::GetInstance()->SetView(this);
}

void CWeatherWnd::OnLayerDestroy() {
    CWeatherDataModel::GetInstance()->SetView(nullptr);
}

void CWeatherWnd::BuildLayout() {
    CLayerControlRootView* root = GetRootView();
    HWND hwnd = m_hWnd;
    m_background = AddPicture(root, hwnd, this, 0, 0, kWeatherWidth, kWeatherHeight, -1);
    // The lighter panels are pictures one size down: centred, they keep their edges crisp.
    m_background->SetDrawMode(CLayerImageCtrl::kDrawCentered);
    BuildToolbar();

    m_temperature = AddText(root, hwnd, this, 24, 39, 150, 124, kFontTemperature, kWhite, kLeftLine);
    m_degree = AddPicture(root, hwnd, this, 94, 67, 13, 13, kImageDegree);
    m_degree->SetVisible(FALSE, FALSE);
    m_description = AddText(root, hwnd, this, 92, 86, 120, 20, kFontRow, kWhite, kLeftLine);
    m_airQuality = AddText(root, hwnd, this, 92, 110, 120, 16, kFontSmall, kAirQuality, kLeftLine);
    m_icon = AddPicture(root, hwnd, this, 268, 44, 103, 109, -1);
    BuildForecast();
}

void CWeatherWnd::BuildToolbar() {
    HWND hwnd = m_hWnd;
    m_toolbar = AddControl<CLayerControlGroup>(GetRootView(), hwnd, this, -1, 9, 10, 371, 29);
    AddText(m_toolbar, hwnd, this, 10, 0, 45, 29, kFontSmall, kWhite, kLeftLine, L"透明度");
    m_slider = AddControl<CLayerSliderCtrl>(m_toolbar, hwnd, this, kSliderId, 52, 8, kSliderWidth, 17);
    m_slider->SetTrackImage(GetImage(kImageSliderTrack));
    m_slider->SetThumbImage(GetImage(kImageSliderThumb));
    m_slider->SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    if (CImage* thumb = GetImage(kImageSliderThumb)) {
        m_slider->SetRange(kSliderWidth - thumb->GetFrameWidth());
    }
    m_percentLabel = AddText(m_toolbar, hwnd, this, 106, 0, 40, 29, kFontPercent, kWhite, kLeftLine);
    m_place = AddText(m_toolbar, hwnd, this, 123, 0, 100, 29, kFontSmall, kWhite, kCentred | 0x1000);
    m_place->EnableToolTip(TRUE);
    CLayerButtonCtrl* city = AddButton(m_toolbar, hwnd, this, kCityId, 225, 9, 11, 10, kImagePin);
    city->SetToolTip(L"设置城市");
    city->EnableToolTip(TRUE);
    AddText(m_toolbar, hwnd, this, 262, 0, 55, 29, kFontSmall, kWhite, kLeftLine, L"未来天气");
    m_forecastSwitch = AddControl<CLayerCheckboxCtrl>(m_toolbar, hwnd, this, kForecastSwitchId, 317, 10, 11, 9);
    m_forecastSwitch->SetImage(GetImage(kImageChevron), FALSE);
    m_forecastSwitch->SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    m_forecastSwitch->SetCheck(m_expanded, FALSE);
    m_forecastSwitch->EnableToolTip(TRUE);
    AddButton(m_toolbar, hwnd, this, kCloseId, 345, 8, 11, 11, kImageClose);
}

void CWeatherWnd::BuildForecast() {
    HWND hwnd = m_hWnd;
    m_forecast = AddControl<CLayerControlGroup>(GetRootView(), hwnd, this, -1, 9, 166, 371, 175);
    for (int i = 0; i < static_cast<int>(kForecastRowCount); ++i) {
        const int top = kRowPitch * i;
        ForecastRowCtrls& row = m_rows[i];
        row.date = AddLabel(m_forecast, hwnd, this, 18, top, 68, 40, kFontRow, kRowText);
        row.weekday = AddLabel(m_forecast, hwnd, this, 84, top, 45, 40, kFontRow, kRowText);
        row.icon = AddPicture(m_forecast, hwnd, this, 200, top + 5, 31, 25, -1);
        row.range = AddText(m_forecast, hwnd, this, 231, top, 90, 40, kFontRow, kRowText, kCentred);
        row.description = AddText(m_forecast, hwnd, this, 300, top, 71, 40, kFontRow, kRowText, kCentred);
        AddPicture(m_forecast, hwnd, this, 0, top + 40, 371, 1, kImageSeparator);
    }
    m_forecast->SetVisible(m_expanded, FALSE);
    m_forecastSwitch->SetToolTip(ForecastSwitchTip(m_expanded));
}

bool CWeatherWnd::CreateWidgetWindow(HWND owner) {
    RECT rect{0, 0, kWeatherWidth, kWeatherHeight};
    return IsWindow() || Create(owner, &rect);
}

void CWeatherWnd::OnWidgetShowing() {
    CWeatherDataModel::GetInstance()->RequestWeather();
    KillTimer(kRefreshTimer);
    SetTimer(kRefreshTimer, kRefreshMs);
}

void CWeatherWnd::OnWidgetHiding() {
    KillTimer(kRefreshTimer);
    // An owned window stays on screen when its owner hides.
    m_cityDialog.ShowDialog(false, m_expanded);
}

void CWeatherWnd::OnWidgetHover(bool inside) {
    // The pointer goes over to the open dialog, which belongs to the widget in use.
    if (inside || !m_cityDialog.IsVisible()) {
        SetHover(inside);
    }
}

void CWeatherWnd::OnWidgetMoved() {
    m_cityDialog.Reposition(m_expanded);
}

void CWeatherWnd::SetHover(bool hovered) {
    m_hovered = hovered;
    m_toolbar->SetVisible(hovered, FALSE);
    ApplyBackground();
}

void CWeatherWnd::SetTransparency(int percent) {
    m_percent = percent;
    m_widget.SaveTransparency(percent, *m_percentLabel);
    ApplyBackground();
}

void CWeatherWnd::ApplyBackground() {
    const WeatherBackground background = WeatherBackgroundFor(m_percent, m_expanded, m_hovered);
    m_background->SetImage(GetImage(background.image), FALSE);
    m_background->SetRect(ToRect(background.rect), FALSE);
    InvalidateRect(nullptr, TRUE);
}

void CWeatherWnd::OnForecastSwitch() {
    m_expanded = m_forecastSwitch->IsChecked();
    m_forecastSwitch->SetToolTip(ForecastSwitchTip(m_expanded));
    m_forecast->SetVisible(m_expanded, FALSE);
    SetHover(m_hovered);
    CIniSettings::GetInstance()->SetWeatherFuture(m_expanded ? 1 : 0);
    m_cityDialog.Reposition(m_expanded);
}

void CWeatherWnd::OpenCityDialog() {
    m_cityDialog.SetPreset(m_shown.provinceCode, m_shown.cityCode, m_shown.townCode);
    // It opens at the window's scale; moved onto another monitor, the system tells it its own.
    m_cityDialog.SetDpi(GetDpi());
    m_cityDialog.ShowDialog(true, m_expanded);
}

void CWeatherWnd::OnSelectCity(const std::wstring& townCode) {
    if (townCode != m_shown.townCode) {
        CWeatherDataModel::GetInstance()->RequestWeatherFor(townCode);
    }
}

void CWeatherWnd::SetWeatherData(const WeatherData& data) {
    m_shown = data;
    PostToUIThread(new mf_bind_t<CWeatherWnd>(this, &CWeatherWnd::UpdateWeather));
}

void CWeatherWnd::UpdateWeather() {
    if (const std::optional<CurrentPlacement> placement = CurrentPlacementFor(m_shown.realtime.temperature)) {
        PlaceCurrent(*placement);
    }
    if (m_shown.days.empty()) {
        InvalidateRect(nullptr, TRUE);
        return;
    }
    m_temperature->SetText(m_shown.realtime.temperature, FALSE);
    m_degree->SetVisible(TRUE, FALSE);
    m_place->SetText(m_shown.townName, FALSE);
    m_place->SetToolTip(m_shown.townName);
    m_description->SetText(DescriptionLine(m_shown), FALSE);
    m_airQuality->SetText(AirQualityLine(m_shown.realtime), FALSE);
    m_icon->SetImage(GetImage(WeatherIconsFor(m_shown.realtime.info).current), FALSE);
    FillForecastRows();
    InvalidateRect(nullptr, TRUE);
}

void CWeatherWnd::PlaceCurrent(const CurrentPlacement& placement) {
    m_temperature->SetRect(ToRect(placement.temperature), FALSE);
    m_degree->SetRect(ToRect(placement.degree), FALSE);
    m_description->SetRect(ToRect(placement.description), FALSE);
    m_airQuality->SetRect(ToRect(placement.airQuality), FALSE);
}

void CWeatherWnd::FillForecastRows() {
    const std::vector<ForecastRow> rows = ForecastRows(m_shown);
    for (size_t i = 0; i < rows.size(); ++i) {
        const ForecastRow& row = rows[i];
        ForecastRowCtrls& ctrls = m_rows[i];
        ctrls.date->SetText(row.date, FALSE);
        ctrls.weekday->SetText(row.weekday, FALSE);
        if (row.details) {
            ctrls.icon->SetImage(GetImage(row.details->icon), FALSE);
            ctrls.range->SetText(row.details->temperatureRange, FALSE);
            ctrls.description->SetText(row.details->description, FALSE);
        }
    }
}

BOOL CWeatherWnd::PushFrame(HDC screen, POINT* dest, SIZE* size, HDC source, BLENDFUNCTION* blend, const RECT* dirty) {
    const BOOL pushed = CLayerWindowBase<CWeatherWnd>::PushFrame(screen, dest, size, source, blend, dirty);
    if (pushed && !m_dataFrameLogged && !m_temperature->GetText().empty()) {
        m_dataFrameLogged = true;
        WriteLog(L"[tid:%d] weather first frame with data", ::GetCurrentThreadId());
    }
    return pushed;
}

void CWeatherWnd::OnLayerTimer(UINT id) {
    if (id == kRefreshTimer) {
        CWeatherDataModel::GetInstance()->RequestWeather();
    }
}

LRESULT CWeatherWnd::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    switch (LOWORD(wParam)) {
    case kSliderId:
        SetTransparency(static_cast<int>(lParam));
        break;
    case kForecastSwitchId:
        OnForecastSwitch();
        break;
    case kCityId:
        OpenCityDialog();
        break;
    case kCloseId:
        m_widget.Close();
        break;
    default:
        break;
    }
    return 0;
}
