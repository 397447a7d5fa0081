#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/base/ScopedHandle.h"
#include "app/base/WindowImpl.h"
#include "monitor/AdapterSet.h"
#include "monitor/FlowCounter.h"

// The upload and download rates of the counted adapters, sampled every second from the system's interface
// counters and posted to the monitor window (WM_NETWORK_RATES, 65535 for a rate unchanged since the last
// report). The gate library "net\netload.dll" beside the executable, asked every ten seconds, and the
// switch file "config.set" ([netload] open, read at every sample) can turn both rates to 0. Its timers run
// on a message-only window of its own.
class CFlowMonitor : public CWindowImplT<CFlowMonitor, CWinTraits<0, 0>> {
public:
    static constexpr UINT_PTR kSampleTimer = 9029;
    static constexpr UINT_PTR kGateTimer = 9030;
    static constexpr UINT kSampleMs = 1000;
    static constexpr UINT kGateMs = 10000;

    CFlowMonitor() = default;
    ~CFlowMonitor() override;

    static const wchar_t* GetWndClassName() { return L"DesklingFlowMonitor"; }

    // Creates the window and loads the gate from the executable's folder; 1 on success, 0 on any failure.
    int Init();
    // The same with the gate and the switch file looked for in `folder` (with a trailing separator).
    int InitFromFolder(const std::wstring& folder);
    void SetNotifyWindow(HWND window) { m_notify = window; }
    void SetAdapterSet(const AdapterSet* set) { m_adapters = set; }
    void StartSampling();
    void StopSampling();

    // One sample: sums the counted adapters' totals and posts what changed.
    void Sample();

    BEGIN_MSG_MAP(CFlowMonitor)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    END_MSG_MAP()

private:
    LRESULT OnTimer(UINT, WPARAM id, LPARAM, BOOL&);
    bool SwitchOpen() const;

    CFlowCounter m_upload;
    CFlowCounter m_download;
    HWND m_notify = nullptr;
    const AdapterSet* m_adapters = nullptr;
    int m_enabled = 0;
    CModule m_gateLibrary;
    int(WINAPI* m_gate)() = nullptr;
    std::wstring m_switchFile;
};
