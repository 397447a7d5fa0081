#include "monitor/TempMonitorControl.h"

#include "app/AppContext.h"
#include "app/base/DeskMessages.h"
#include "app/base/SmartLogger.h"
#include "app/IniSettings.h"
#include "monitor/HardwareTool.h"
#include "monitor/RepaireBkoModel.h"
#include "monitor/TempMonitorModel.h"
#include "monitor/TempMonitorWnd.h"

namespace {

// The wallpaper application's main window owns the offer when it runs.
constexpr wchar_t kWallpaperTitle[] = L"Vexa壁纸";

CTempMonitorWnd* Window() {
    return CTempMonitorWnd::GetInstance();
}

} // namespace

void CTempMonitorControl::PostWidgetState(bool open) {
    if (HWND main = CAppContext::GetInstance()->GetMainWnd()) {
        ::PostMessageW(main, WM_DESK_WIDGET_STATE, kWidgetTempMonitor, open ? 1 : 0);
    }
}

void CTempMonitorControl::ShowOffer() {
    m_offerBox.SetOwnerWindow(::FindWindowW(nullptr, kWallpaperTitle));
    m_offerBox.SetCallBack(this);
    WriteLog(L"[tempmonitor] offer shown:%d", m_offerBox.Show() ? 1 : 0);
    m_state = kStateOffered;
}

void CTempMonitorControl::ShowConnected() {
    Window()->Show(true);
    Window()->SetPanel(CTempMonitorWnd::kPanelData);
    CTempMonitorModel::GetInstance()->StartHardwareSource();
    m_state = kStateConnected;
}

void CTempMonitorControl::StartMonitor(bool autoStart) {
    WriteLog(L"[tid:%d] tempmonitor StartMonitor autoStart:%d state:%d", ::GetCurrentThreadId(), autoStart ? 1 : 0,
             m_state);
    if (m_state != kStateOff) {
        if (!autoStart && (m_state == kStateOffered || m_state == kStateConnected || m_state == kStateShowing) &&
            !IsHardwareToolInstalled()) {
            ShowOffer();
        }
        return;
    }
    PostWidgetState(true);
    const bool installed = IsHardwareToolInstalled();
    if (installed) {
        ShowConnected();
    } else if (autoStart) {
        Window()->Show(true);
        Window()->SetPanel(CTempMonitorWnd::kPanelOffer);
        m_state = kStateOffered;
    } else {
        ShowOffer();
    }
}

void CTempMonitorControl::StopMonitor() {
    m_state = kStateOff;
    PostWidgetState(false);
}

void CTempMonitorControl::OnMsgBoxResult(int result, std::wstring) {
    WriteLog(L"[tempmonitor] offer answered %d in state %d", result, m_state);
    if (result == CMsgBox::kResultOk) {
        Window()->Show(true);
        Window()->SetPanel(CTempMonitorWnd::kPanelProgress);
        CRepaireBkoModel::GetInstance()->StartInstall();
        return;
    }
    if ((m_state == kStateOff || m_state == kStateOffered) && !Window()->IsShown()) {
        CIniSettings::GetInstance()->WriteRegTempMonitorOff();
        StopMonitor();
    }
}

void CTempMonitorControl::OnInstallProgress(int step, int percent) {
    m_state = step;
    m_progress = percent;
    Window()->SetInstallProgress(step, percent);
    if (step == kStateInstalled) {
        Window()->SetPanel(CTempMonitorWnd::kPanelData);
        CTempMonitorModel::GetInstance()->StartHardwareSource();
    }
}

void CTempMonitorControl::OnTemperaturesReady() {
    if (m_state == kStateOff) {
        return;
    }
    m_state = kStateShowing;
    CTempMonitorModel* model = CTempMonitorModel::GetInstance();
    Window()->SetSensorNames(model->GetSensorNames());
    Window()->SetReadings(model->GetReadings());
}

void CTempMonitorControl::OnNoTemperatures() {
    Window()->ShowDetectFailed();
}

void CTempMonitorControl::OnReadings(const SensorReadings& readings) {
    if (m_state == kStateShowing) {
        Window()->UpdateReadings(readings);
    }
}

void CTempMonitorControl::RetryInstall() {
    CRepaireBkoModel::GetInstance()->StartInstall();
}
