#pragma once

#include <windows.h>

#include "layer/LayerWindowBase.h"
#include "monitor/MonitorGauge.h"
#include "monitor/SensorReading.h"

class CLayerCheckboxCtrl;
class CTempMonitorWnd;

// A layered tool window without a taskbar button.
using CTempSetTraits = CWinTraits<WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_LAYERED | WS_EX_TOOLWINDOW>;

// The monitor's small settings window: one check box per item and "确认", which hands the first two checked
// items, in the rows' order, to the monitor window. Sensor rows without a reading are disabled.
class CTempSetWnd : public CLayerWindowBase<CTempSetWnd, CTempSetTraits> {
public:
    static constexpr int kWidth = 110;
    static constexpr int kHeight = 230;
    static constexpr int kConfirmId = 8;

    explicit CTempSetWnd(CTempMonitorWnd& monitor) : m_monitor(monitor) {}
    ~CTempSetWnd() override;

    static const wchar_t* GetWndClassName() { return L"VexawpTempSetClass"; }

    BEGIN_LAYER_MSG_MAP()
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()

    // Shows the window beside the monitor, its boxes checked for the two items shown.
    void ShowBeside(const RECT& monitor, GaugeItems items);
    // Enables the sensor rows that have a reading; the rate rows are always enabled.
    void EnableRows(const SensorReadings& readings);
    bool IsShown() const;

    CLayerCheckboxCtrl* GetRow(int row) const { return m_rows[row]; }
    // "确认": hides the window and applies the choice.
    void Confirm();

    void OnLayerCreate() override;

private:
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&);

    CTempMonitorWnd& m_monitor;
    CLayerCheckboxCtrl* m_rows[kSettingRows] = {};
};
