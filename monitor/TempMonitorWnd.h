#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "app/base/DeskMessages.h"
#include "app/base/SingletonT.h"
#include "layer/DeskWidget.h"
#include "layer/IDeskWidgetWindow.h"
#include "layer/LayerWindowBase.h"
#include "monitor/AdapterSet.h"
#include "monitor/MonitorGauge.h"
#include "monitor/SensorReading.h"
#include "monitor/TempSetWnd.h"

class CFlowMonitor;
class CLayerButtonCtrl;
class CLayerImageCtrl;
class CLayerLabelCtrl;
class CLayerLine;
class CLayerProgress;

// The hardware monitor widget: two round gauges, each showing a chosen component temperature or network rate
// in the colour of its band, the panel that offers the hardware tool and follows its installation, and
// settings and close buttons that show while the mouse is over it. The controller drives it; the flow
// monitor it owns feeds it rates. What it does as a widget on the desktop (placement, dragging, window
// order, closing) is the shared CDeskWidget's.
class CTempMonitorWnd : public CLayerWindowBase<CTempMonitorWnd>,
                        public IDeskWidgetWindow,
                        public CSingletonT<CTempMonitorWnd> {
    friend class CSingletonT<CTempMonitorWnd>;

public:
    static constexpr int kWidth = 245;
    static constexpr int kHeight = 190;
    enum Panel { kPanelData = 0, kPanelOffer = 1, kPanelProgress = 2 };
    enum ControlId { kCloseId = 1, kDownloadId = 2, kSettingsId = 3 };
    static constexpr UINT kInstallTimer = 1;
    static constexpr UINT kHoverTimer = 2;
    static constexpr UINT kInstallTickMs = 1000;
    static constexpr UINT kHoverDelayMs = 300;

    // A network rate as a gauge shows it.
    struct RateRecord {
        uint32_t value;
        std::wstring name;
        uint32_t level1;
        uint32_t level2;
        uint32_t level3;
    };

    static const wchar_t* GetWndClassName() { return L"VexawpTempMonitorClass"; }

    BEGIN_LAYER_MSG_MAP()
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_NETWORK_RATES, OnNetworkRates)
    END_MSG_MAP()

    void Show(bool show) { m_widget.Show(show); }
    bool IsShown() const;
    CDeskWidget& GetWidget() { return m_widget; }

    void SetPanel(int panel);
    void SetInstallProgress(int step, int percent);
    void SetSensorNames(const SensorNames& names) { m_names = names; }
    // The first full set: enables the settings rows, repairs the choice and redraws.
    void SetReadings(const SensorReadings& readings);
    void UpdateReadings(const SensorReadings& readings);
    void ShowDetectFailed();
    // From the settings window: stores, saves and redraws a changed choice.
    void SetItems(int32_t item1, int32_t item2);

    GaugeItems GetItems() const { return GaugeItems{m_item1, m_item2}; }
    const RateRecord& GetRate(int32_t item) const { return m_rates.at(item); }
    CTempSetWnd& GetSettingsWindow() { return m_settings; }
    // What a gauge shows (tests read it back).
    std::wstring GetGaugeName(Gauge gauge) const;
    std::wstring GetGaugeValue(Gauge gauge) const;

    void OnLayerCreate() override;
    void OnLayerDestroy() override;
    void OnLayerTimer(UINT id) override;

    // IDeskWidgetWindow
    bool CreateWidgetWindow(HWND owner) override;
    void OnWidgetShowing() override {}
    void OnWidgetHiding() override;
    void OnWidgetHover(bool inside) override;

private:
    struct GaugeControls {
        CLayerImageCtrl* dial = nullptr;
        CLayerLabelCtrl* name = nullptr;
        CLayerLabelCtrl* value = nullptr;
        CLayerLine* needle = nullptr;
    };

    CTempMonitorWnd();
    ~CTempMonitorWnd() override;

    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnNetworkRates(UINT, WPARAM wParam, LPARAM lParam, BOOL&);

    void BuildLayout();
    void StartFlowMonitor();
    void DrawGauges();
    void DrawGauge(Gauge gauge, int32_t item);
    void ShowHoverButtons(bool show);
    bool CursorOverHoverButton() const;
    void ShowInstallPercent(int percent);

    CDeskWidget m_widget;

    int32_t m_item1 = 0;
    int32_t m_item2 = 0;
    SensorNames m_names;
    SensorReadings m_readings;
    std::map<int32_t, RateRecord> m_rates;
    int m_panel = kPanelData;
    int m_installPercent = 0;
    int m_installStep = 0;
    AdapterSet m_adapters;
    std::unique_ptr<CFlowMonitor> m_flow;
    CTempSetWnd m_settings;

    GaugeControls m_gauges[2];
    CLayerImageCtrl* m_offerPicture = nullptr;
    CLayerLabelCtrl* m_offerText = nullptr;
    CLayerButtonCtrl* m_download = nullptr;
    CLayerLabelCtrl* m_status = nullptr;
    CLayerProgress* m_progress = nullptr;
    CLayerLabelCtrl* m_percent = nullptr;
    CLayerButtonCtrl* m_settingsButton = nullptr;
    CLayerButtonCtrl* m_close = nullptr;
};
