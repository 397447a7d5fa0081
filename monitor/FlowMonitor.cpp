#include "monitor/FlowMonitor.h"

// winsock2 before iphlpapi, which pulls in the older socket header otherwise.
#include <winsock2.h>
#include <iphlpapi.h>

#include <vector>

#include "app/base/DeskMessages.h"
#include "app/base/FileSystem.h"
#include "app/base/SmartLogger.h"
#include "app/TrustedFile.h"
#include "monitor/MonitorGauge.h"

namespace {

struct Totals {
    uint32_t upload = 0;
    uint32_t download = 0;
};

// The counted adapters' byte totals; interfaces outside the set are skipped, and the first row that cannot
// be read ends the walk. A failing interface list gives zeros.
Totals SumTotals(const AdapterSet& adapters) {
    Totals totals;
    // Nothing to count (Wine lists no physical adapters): the interface list would only cost its calls.
    if (adapters.empty()) {
        return totals;
    }
    ULONG size = 0;
    if (::GetInterfaceInfo(nullptr, &size) != ERROR_INSUFFICIENT_BUFFER || size == 0) {
        return totals;
    }
    std::vector<BYTE> buffer(size);
    auto* list = reinterpret_cast<IP_INTERFACE_INFO*>(buffer.data());
    if (::GetInterfaceInfo(list, &size) != NO_ERROR) {
        return totals;
    }
    for (LONG i = 0; i < list->NumAdapters; ++i) {
        MIB_IFROW row = {};
        row.dwIndex = list->Adapter[i].Index;
        if (::GetIfEntry(&row) != NO_ERROR) {
            break;
        }
        if (adapters.count(AdapterKey(row.bPhysAddr, row.dwPhysAddrLen))) {
            totals.upload += row.dwOutOctets;
            totals.download += row.dwInOctets;
        }
    }
    return totals;
}

} // namespace

CFlowMonitor::~CFlowMonitor() {
    if (IsWindow()) {
        KillTimer(kSampleTimer);
        KillTimer(kGateTimer);
        DestroyWindow();
    }
}

int CFlowMonitor::Init() {
    return InitFromFolder(ExecutableFolder() + L"\\");
}

int CFlowMonitor::InitFromFolder(const std::wstring& folder) {
    if (!IsWindow() && !Create(HWND_MESSAGE, nullptr)) {
        return 0;
    }
    m_switchFile = folder + L"config.set";
    const std::wstring gate = folder + L"net\\netload.dll";
    m_gateLibrary = LoadTrustedLibrary(gate.c_str());
    if (!m_gateLibrary) {
        WriteLog(L"[flow] gate untrusted or not loaded: %s", gate.c_str());
        return 0;
    }
    m_gate = reinterpret_cast<int(WINAPI*)()>(
        reinterpret_cast<void*>(::GetProcAddress(m_gateLibrary.Get(), "BkoIsInstall")));
    if (!m_gate) {
        return 0;
    }
    m_enabled = m_gate();
    SetTimer(kGateTimer, kGateMs);
    return 1;
}

void CFlowMonitor::StartSampling() {
    KillTimer(kSampleTimer);
    SetTimer(kSampleTimer, kSampleMs);
}

void CFlowMonitor::StopSampling() {
    KillTimer(kSampleTimer);
}

bool CFlowMonitor::SwitchOpen() const {
    return ::GetPrivateProfileIntW(L"netload", L"open", 1, m_switchFile.c_str()) != 0;
}

void CFlowMonitor::Sample() {
    if (!m_adapters) {
        return;
    }
    const Totals totals = SumTotals(*m_adapters);
    uint32_t upload = m_upload.Sample(totals.upload);
    uint32_t download = m_download.Sample(totals.download);
    if (!m_enabled || !SwitchOpen()) {
        upload = 0;
        download = 0;
    }
    if (m_notify && (upload != kRateUnchanged || download != kRateUnchanged)) {
        ::PostMessageW(m_notify, WM_NETWORK_RATES, upload, download);
    }
}

LRESULT CFlowMonitor::OnTimer(UINT, WPARAM id, LPARAM, BOOL&) {
    if (id == kSampleTimer) {
        Sample();
    } else if (id == kGateTimer && m_gate) {
        m_enabled = m_gate();
    }
    return 0;
}
