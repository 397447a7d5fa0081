#include "monitor/TempSetWnd.h"

#include "layer/LayerButtonCtrl.h"
#include "layer/LayerCheckboxCtrl.h"
#include "layer/LayerImageCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "layer/SkinRegistry.h"
#include "monitor/AddLayerControl.h"
#include "monitor/TempMonitorWnd.h"

namespace {

constexpr int kFont = 1003;
constexpr int kImagePanel = 1094;
constexpr int kImageCheck = 1099;
constexpr int kImageButton = 1100;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr UINT kCentred = 0x11;
constexpr int kRowTop[kSettingRows] = {33, 59, 80, 101, 122, 143, 164};
constexpr const wchar_t* kRowText[kSettingRows] = {L"CPU温度",  L"显卡温度", L"主板温度", L"硬盘温度",
                                                   L"电池温度", L"下载速度", L"上传速度"};
// Gap between the monitor and the settings window.
constexpr int kGap = 4;

} // namespace

CTempSetWnd::~CTempSetWnd() {
    if (IsWindow()) {
        DestroyWindow();
    }
}

void CTempSetWnd::OnLayerCreate() {
    auto* panel = AddLayerControl<CLayerImageCtrl>(*this, 0, 0, 0, kWidth, kHeight);
    panel->SetDrawMode(CLayerImageCtrl::kDrawNineGrid);
    panel->SetNineGridInsets(RECT{12, 12, 12, 12});
    panel->SetImage(GetImage(kImagePanel), FALSE);

    auto* caption = AddLayerControl<CLayerLabelCtrl>(*this, 0, 0, 7, kWidth, 16);
    caption->SetFont(GetFont(kFont));
    caption->SetTextColor(kWhite, FALSE);
    caption->SetTextFormat(kCentred);
    caption->SetText(L"需选择以下两项", FALSE);
    for (int row = 0; row < kSettingRows; ++row) {
        CLayerCheckboxCtrl* box = AddLayerControl<CLayerCheckboxCtrl>(*this, row + 1, 10, kRowTop[row], 100, 11);
        box->SetImage(GetImage(kImageCheck), FALSE);
        box->SetFont(GetFont(kFont));
        box->SetTextColor(kWhite, FALSE);
        box->SetText(kRowText[row], FALSE);
        m_rows[row] = box;
    }
    auto* confirm = AddLayerControl<CLayerButtonCtrl>(*this, kConfirmId, 21, 196, 68, 20);
    confirm->SetImage(GetImage(kImageButton), FALSE);
    confirm->SetFont(GetFont(kFont));
    confirm->SetTextColor(kWhite, FALSE);
    confirm->SetText(L"确认", FALSE);
}

void CTempSetWnd::ShowBeside(const RECT& monitor, GaugeItems items) {
    if (!IsWindow()) {
        return;
    }
    for (int row = 0; row < kSettingRows; ++row) {
        m_rows[row]->SetCheck(kSettingRowItems[row] == items.item1 || kSettingRowItems[row] == items.item2, FALSE);
    }
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int gap = ToScreen(kGap);
    const int width = ToScreen(kWidth);
    int x = monitor.right + gap;
    if (x + width > work.right) {
        x = monitor.left - gap - width;
    }
    ::SetWindowPos(m_hWnd, HWND_TOP, x, monitor.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    InvalidateRect(nullptr, TRUE);
}

void CTempSetWnd::EnableRows(const SensorReadings& readings) {
    if (!IsWindow()) {
        return;
    }
    for (int row = 0; row < kSettingRows; ++row) {
        const int32_t item = kSettingRowItems[row];
        const bool rate = item == kItemUpload || item == kItemDownload;
        m_rows[row]->SetEnabled(rate || readings.count(item) != 0, FALSE);
    }
    InvalidateRect(nullptr, TRUE);
}

bool CTempSetWnd::IsShown() const {
    return IsWindow() && ::IsWindowVisible(m_hWnd);
}

void CTempSetWnd::Confirm() {
    ::ShowWindow(m_hWnd, SW_HIDE);
    bool checked[kSettingRows] = {};
    for (int row = 0; row < kSettingRows; ++row) {
        checked[row] = m_rows[row]->IsChecked();
    }
    GaugeItems items{};
    if (FirstTwoChecked(checked, &items)) {
        m_monitor.SetItems(items.item1, items.item2);
    }
}

LRESULT CTempSetWnd::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (LOWORD(wParam) == kConfirmId) {
        Confirm();
    }
    return 0;
}
