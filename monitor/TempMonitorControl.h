#pragma once

#include <string>

#include "app/base/SingletonT.h"
#include "guide/IMsgBoxCallBack.h"
#include "guide/MsgBox.h"
#include "monitor/SensorReading.h"

// What the hardware monitor does when it is switched on: show live readings when the hardware tool is
// installed, otherwise offer the tool (by message box, or inside the widget when started with "/tempauto"),
// follow its installation and hand readings to the window. UI thread only; the tool's threads and the
// installer reach it through posted tasks.
class CTempMonitorControl : public CSingletonT<CTempMonitorControl>, public IMsgBoxCallBack {
    friend class CSingletonT<CTempMonitorControl>;

public:
    // state values besides the installation steps 2..9.
    static constexpr int kStateOff = 0;
    static constexpr int kStateOffered = 1;
    static constexpr int kStateInstalled = 9;
    static constexpr int kStateConnected = 10;
    static constexpr int kStateShowing = 11;

    void StartMonitor(bool autoStart);
    // Off, and the main window hears the widget closed.
    void StopMonitor();
    // 0 "确定": install; 1 "取消" or 2 closed: with the widget hidden, the monitor is switched off for good.
    void OnMsgBoxResult(int result, std::wstring tag) override;
    void OnInstallProgress(int step, int percent);
    void OnTemperaturesReady();
    void OnNoTemperatures();
    void OnReadings(const SensorReadings& readings);
    void RetryInstall();

    int GetState() const { return m_state; }
    CMsgBox& GetOfferBox() { return m_offerBox; }

private:
    CTempMonitorControl() = default;

    void PostWidgetState(bool open);
    void ShowOffer();
    void ShowConnected();

    int m_state = kStateOff;
    int m_progress = 0;
    CMsgBox m_offerBox;
};
