#include "monitor/TempMonitorWnd.h"

#include <cwchar>
#include <utility>

#include "app/base/SmartLogger.h"
#include "app/IniSettings.h"
#include "app/SystemUtils.h"
#include "layer/LayerButtonCtrl.h"
#include "layer/LayerImageCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "layer/LayerLine.h"
#include "layer/LayerProgress.h"
#include "layer/SkinRegistry.h"
#include "monitor/AddLayerControl.h"
#include "monitor/FlowMonitor.h"
#include "monitor/TempMonitorControl.h"
#include "net/FormatRate.h"

namespace {

// Skin fonts.
constexpr int kFontSmall = 1003;
constexpr int kFontSmallBold = 1006;
constexpr int kFontName = 1007;
constexpr int kFontValue = 1017;

// Skin images.
constexpr int kImageDialLarge = 1082;
constexpr int kImageDialSmall = 1085;
constexpr int kImageBackground = 1088;
constexpr int kImageOffer = 1089;
constexpr int kImageBar = 1090;
constexpr int kImageTrack = 1091;
constexpr int kImageDownload = 1092;
constexpr int kImageClose = 1096;
constexpr int kImageSettings = 1098;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kFirstBand = 0xFF9C00;
constexpr UINT kCentred = 0x11;
constexpr UINT kCentredOneLine = 0x1011;
constexpr int kNeedleWidth = 2;
constexpr int kInstallingStep = 6;
constexpr uint32_t kRateLevels[3] = {2097152, 5242880, 10485760};

CLayerImageCtrl* AddPicture(CTempMonitorWnd& wnd, int x, int y, int cx, int cy, int image) {
    auto* picture = AddLayerControl<CLayerImageCtrl>(wnd, 0, x, y, cx, cy);
    picture->SetDrawMode(CLayerImageCtrl::kDrawFrame);
    picture->SetFrameIndex(0, FALSE);
    picture->SetImage(GetImage(image), FALSE);
    return picture;
}

CLayerLabelCtrl* AddLabel(CTempMonitorWnd& wnd, int x, int y, int cx, int cy, int font, COLORREF colour) {
    auto* label = AddLayerControl<CLayerLabelCtrl>(wnd, 0, x, y, cx, cy);
    label->SetFont(GetFont(font));
    label->SetTextColor(colour, FALSE);
    label->SetTextFormat(kCentred);
    return label;
}

CLayerButtonCtrl* AddButton(CTempMonitorWnd& wnd, int id, int x, int y, int cx, int cy, int image) {
    auto* button = AddLayerControl<CLayerButtonCtrl>(wnd, id, x, y, cx, cy);
    button->SetImage(GetImage(image), FALSE);
    return button;
}

bool IsRateItem(int32_t item) {
    return item == kItemUpload || item == kItemDownload;
}

// Whether a gauge showing item would show something else with the new readings.
bool ShownReadingChanged(const SensorReadings& before, const SensorReadings& after, int32_t item) {
    const auto was = before.find(item), is = after.find(item);
    if ((was == before.end()) != (is == after.end())) {
        return true;
    }
    return was != before.end() && was->second.value != is->second.value;
}

} // namespace

CTempMonitorWnd::CTempMonitorWnd()
    : m_widget(*this, *this, kWidgetTempMonitor, L"tempmonitor", kWidth), m_settings(*this) {
    m_rates[kItemUpload] = RateRecord{0, L"上传", kRateLevels[0], kRateLevels[1], kRateLevels[2]};
    m_rates[kItemDownload] = RateRecord{0, L"下载", kRateLevels[0], kRateLevels[1], kRateLevels[2]};
}

CTempMonitorWnd::~CTempMonitorWnd() {
    if (IsWindow()) {
        DestroyWindow();
    }
}

bool CTempMonitorWnd::CreateWidgetWindow(HWND owner) {
    RECT rect{0, 0, kWidth, kHeight};
    return IsWindow() || Create(owner, &rect);
}

bool CTempMonitorWnd::IsShown() const {
    return IsWindow() && ::IsWindowVisible(m_hWnd);
}

void CTempMonitorWnd::OnLayerCreate() {
    SetLayerSize(kWidth, kHeight);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    // The widget moves itself from its own mouse hooks, so it can save where it went.
    SetDragByBackground(FALSE);
    BuildLayout();
    const CIniSettings* settings = CIniSettings::GetInstance();
    m_item1 = settings->GetTempMonitorTemp1();
    m_item2 = settings->GetTempMonitorTemp2();
    RECT rect{0, 0, CTempSetWnd::kWidth, CTempSetWnd::kHeight};
    m_settings.Create(m_hWnd, &rect);
    StartFlowMonitor();
    SetPanel(m_panel);
}

void CTempMonitorWnd::StartFlowMonitor() {
    const bool built = BuildAdapterSet(&m_adapters);
    WriteLog(L"[flow] lrsFlowMonitor init, errCode[%lu]", ::GetLastError());
    if (!built) {
        return;
    }
    WriteLog(L"[flow] %u adapters counted", static_cast<unsigned>(m_adapters.size()));
    m_flow = std::make_unique<CFlowMonitor>();
    m_flow->SetAdapterSet(&m_adapters);
    if (m_flow->Init()) {
        m_flow->SetNotifyWindow(m_hWnd);
        m_flow->StartSampling();
    }
}

void CTempMonitorWnd::OnLayerDestroy() {
    if (m_flow) {
        m_flow->StopSampling();
        m_flow.reset();
    }
}

void CTempMonitorWnd::BuildLayout() {
    AddPicture(*this, 0, 0, kWidth, kHeight, kImageBackground);
    m_gauges[0].dial = AddPicture(*this, 57, 57, 63, 63, kImageDialLarge);
    m_gauges[1].dial = AddPicture(*this, 173, 118, 36, 36, kImageDialSmall);
    m_gauges[0].needle = AddLayerControl<CLayerLine>(*this, 0, 0, 0, 180, 180);
    m_gauges[1].needle = AddLayerControl<CLayerLine>(*this, 0, 136, 82, 108, 108);
    m_gauges[0].name = AddLabel(*this, 69, 69, 40, 43, kFontName, kWhite);
    m_gauges[0].name->SetText(L"正在检测", FALSE);
    // Wider than the dial, on one line: four characters do not fit 40 pixels and would spill onto a second line.
    m_gauges[1].name = AddLabel(*this, 164, 125, 56, 20, kFontSmall, kWhite);
    m_gauges[1].name->SetTextFormat(kCentredOneLine);
    m_gauges[0].value = AddLabel(*this, 0, 122, 184, 40, kFontValue, kFirstBand);
    m_gauges[1].value = AddLabel(*this, 153, 156, 74, 26, kFontSmallBold, kFirstBand);
    for (GaugeControls& gauge : m_gauges) {
        gauge.needle->SetWidth(kNeedleWidth, FALSE);
        gauge.needle->SetVisible(FALSE, FALSE);
    }

    m_offerPicture = AddPicture(*this, 168, 110, 48, 42, kImageOffer);
    m_offerText = AddLabel(*this, 15, 67, 160, 40, kFontSmall, kWhite);
    m_offerText->SetText(L"此插件需要Brako内部温控系统支持才可使用，请下载", FALSE);
    m_download = AddButton(*this, kDownloadId, 53, 120, 70, 18, kImageDownload);
    m_download->SetFont(GetFont(kFontSmall));
    m_download->SetTextColor(kWhite, FALSE);
    m_download->SetText(L"下载", FALSE);
    m_status = AddLabel(*this, 4, 65, 168, 20, kFontSmall, kWhite);
    m_progress = AddLayerControl<CLayerProgress>(*this, 0, 12, 88, 154, 6);
    m_progress->SetTrackImage(GetImage(kImageTrack), 3, 3);
    m_progress->SetBarImage(GetImage(kImageBar), 3, 3);
    m_progress->SetMax(100, FALSE);
    m_percent = AddLabel(*this, 4, 98, 168, 16, kFontSmall, kWhite);
    m_percent->SetText(L"0%", FALSE);

    m_settingsButton = AddButton(*this, kSettingsId, 203, 63, 17, 17, kImageSettings);
    m_settingsButton->SetToolTip(L"设置");
    m_close = AddButton(*this, kCloseId, 224, 71, 17, 17, kImageClose);
    m_close->SetToolTip(L"关闭");
    ShowHoverButtons(false);
}

void CTempMonitorWnd::SetPanel(int panel) {
    m_panel = panel;
    if (!IsWindow()) {
        return;
    }
    const BOOL data = panel == kPanelData;
    for (GaugeControls& gauge : m_gauges) {
        gauge.dial->SetVisible(data, FALSE);
        gauge.name->SetVisible(data, FALSE);
        gauge.value->SetVisible(data, FALSE);
        gauge.needle->SetVisible(data && gauge.needle->IsVisible(), FALSE);
    }
    const BOOL offer = panel == kPanelOffer;
    const BOOL progress = panel == kPanelProgress;
    m_offerPicture->SetVisible(!data, FALSE);
    m_offerText->SetVisible(offer, FALSE);
    m_download->SetVisible(offer, FALSE);
    m_status->SetVisible(progress, FALSE);
    m_progress->SetVisible(progress, FALSE);
    m_percent->SetVisible(progress, FALSE);
    if (data) {
        DrawGauges();
    }
    InvalidateRect(nullptr, TRUE);
}

void CTempMonitorWnd::ShowInstallPercent(int percent) {
    m_installPercent = percent;
    if (!IsWindow()) {
        return;
    }
    m_progress->SetPos(static_cast<uint64_t>(percent), FALSE);
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%lu%%", static_cast<unsigned long>(percent));
    m_percent->SetText(text, FALSE);
    InvalidateRect(nullptr, TRUE);
}

void CTempMonitorWnd::SetInstallProgress(int step, int percent) {
    m_installStep = step;
    if (IsWindow()) {
        m_status->SetText(InstallStatusText(step), FALSE);
        if (step == kInstallingStep) {
            KillTimer(kInstallTimer);
            SetTimer(kInstallTimer, kInstallTickMs);
        } else if (step == 8 || step == 9) {
            KillTimer(kInstallTimer);
        }
        // A failed download or installation offers "下载" again below its status.
        m_download->SetVisible(m_panel == kPanelProgress && (step == 4 || step == 8), FALSE);
    }
    ShowInstallPercent(percent);
}

void CTempMonitorWnd::SetReadings(const SensorReadings& readings) {
    m_readings = readings;
    m_settings.EnableRows(readings);
    const GaugeItems repaired = RepairChoice(GaugeItems{m_item1, m_item2}, readings);
    m_item1 = repaired.item1;
    m_item2 = repaired.item2;
    DrawGauges();
}

void CTempMonitorWnd::UpdateReadings(const SensorReadings& readings) {
    // The tool sends every sensor every two seconds, mostly unchanged: only a change of what is shown repaints.
    const bool changed =
        ShownReadingChanged(m_readings, readings, m_item1) || ShownReadingChanged(m_readings, readings, m_item2);
    m_readings = readings;
    if (changed) {
        DrawGauges();
    }
}

void CTempMonitorWnd::ShowDetectFailed() {
    if (IsWindow()) {
        m_gauges[0].name->SetText(L"检测失败", FALSE);
        InvalidateRect(nullptr, TRUE);
    }
}

void CTempMonitorWnd::SetItems(int32_t item1, int32_t item2) {
    if (item1 == m_item1 && item2 == m_item2) {
        return;
    }
    m_item1 = item1;
    m_item2 = item2;
    CIniSettings* settings = CIniSettings::GetInstance();
    settings->SetTempMonitorTemp1(item1);
    settings->SetTempMonitorTemp2(item2);
    DrawGauges();
}

void CTempMonitorWnd::DrawGauges() {
    if (!IsWindow() || m_panel != kPanelData) {
        return;
    }
    DrawGauge(Gauge::kLarge, m_item1);
    DrawGauge(Gauge::kSmall, m_item2);
    InvalidateRect(nullptr, TRUE);
}

void CTempMonitorWnd::DrawGauge(Gauge gauge, int32_t item) {
    GaugeControls& controls = m_gauges[static_cast<int>(gauge)];
    std::wstring name;
    uint32_t value = 0, level1 = 0, level2 = 0, level3 = 0;
    auto reading = m_readings.find(item);
    auto rate = m_rates.find(item);
    if (reading != m_readings.end()) {
        const SensorReading& r = reading->second;
        name = r.name + L"温度";
        value = static_cast<uint32_t>(r.value);
        level1 = static_cast<uint32_t>(r.level1);
        level2 = static_cast<uint32_t>(r.level2);
        level3 = static_cast<uint32_t>(r.level3);
    } else if (rate != m_rates.end() && IsRateItem(item)) {
        name = rate->second.name + L"速度";
        value = rate->second.value;
        level1 = rate->second.level1;
        level2 = rate->second.level2;
        level3 = rate->second.level3;
    } else {
        controls.needle->SetVisible(FALSE, FALSE);
        return;
    }
    if (gauge == Gauge::kLarge) {
        const int test = CIniSettings::GetInstance()->GetTempMonitorTest();
        if (test > 0) {
            value = static_cast<uint32_t>(test);
        }
    }
    std::wstring text;
    if (reading != m_readings.end()) {
        wchar_t degrees[32] = {};
        std::swprintf(degrees, 32, L"%d°C", static_cast<int>(value));
        text = degrees;
    } else {
        text = FormatRate(value) + L"/s";
    }
    const GaugeBand band = GaugeBandFor(gauge, value, level1, level2, level3);
    const NeedleLine line = NeedleFor(gauge, band.angle);
    controls.dial->SetImage(GetImage(band.image), FALSE);
    controls.name->SetText(name, FALSE);
    controls.value->SetText(text, FALSE);
    controls.value->SetTextColor(band.colour, FALSE);
    controls.needle->SetPoints(POINT{line.x1, line.y1}, POINT{line.x2, line.y2}, FALSE);
    controls.needle->SetColor(band.colour, FALSE);
    controls.needle->SetVisible(TRUE, FALSE);
}

std::wstring CTempMonitorWnd::GetGaugeName(Gauge gauge) const {
    return m_gauges[static_cast<int>(gauge)].name->GetText();
}

std::wstring CTempMonitorWnd::GetGaugeValue(Gauge gauge) const {
    return m_gauges[static_cast<int>(gauge)].value->GetText();
}

LRESULT CTempMonitorWnd::OnNetworkRates(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    const uint32_t upload = static_cast<uint32_t>(wParam);
    const uint32_t download = static_cast<uint32_t>(lParam);
    bool changed = false;
    for (auto [item, value] : {std::pair{kItemUpload, upload}, std::pair{kItemDownload, download}}) {
        uint32_t& shown = m_rates[item].value;
        if (value != kRateUnchanged && value != shown) {
            shown = value;
            changed = changed || item == m_item1 || item == m_item2;
        }
    }
    if (changed) {
        DrawGauges();
    }
    return 0;
}

void CTempMonitorWnd::ShowHoverButtons(bool show) {
    if (m_settingsButton->IsVisible() == static_cast<BOOL>(show)) {
        return;
    }
    m_settingsButton->SetVisible(show, FALSE);
    m_close->SetVisible(show, FALSE);
    InvalidateRect(nullptr, TRUE);
}

bool CTempMonitorWnd::CursorOverHoverButton() const {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    const int x = ToLayer(cursor.x);
    const int y = ToLayer(cursor.y);
    return m_settingsButton->HitTest(x, y) || m_close->HitTest(x, y);
}

void CTempMonitorWnd::OnLayerTimer(UINT id) {
    if (id == kInstallTimer) {
        if (m_installPercent < 99) {
            ShowInstallPercent(m_installPercent + 1);
        }
    } else if (id == kHoverTimer) {
        KillTimer(kHoverTimer);
        if (!CursorOverHoverButton() && !m_settings.IsShown()) {
            ShowHoverButtons(false);
        }
    }
}

void CTempMonitorWnd::OnWidgetHover(bool inside) {
    KillTimer(kHoverTimer);
    if (inside) {
        ShowHoverButtons(true);
    } else {
        SetTimer(kHoverTimer, kHoverDelayMs);
    }
}

void CTempMonitorWnd::OnWidgetHiding() {
    KillTimer(kHoverTimer);
    if (m_settings.IsShown()) {
        ::ShowWindow(m_settings.m_hWnd, SW_HIDE);
    }
}

LRESULT CTempMonitorWnd::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&) {
    switch (LOWORD(wParam)) {
    case kSettingsId: {
        RECT window{};
        ::GetWindowRect(m_hWnd, &window);
        m_settings.ShowBeside(window, GaugeItems{m_item1, m_item2});
        break;
    }
    case kCloseId:
        m_widget.Close();
        CTempMonitorControl::GetInstance()->StopMonitor();
        break;
    case kDownloadId:
        CTempMonitorControl::GetInstance()->RetryInstall();
        SetPanel(kPanelProgress);
        break;
    default:
        break;
    }
    return 0;
}
