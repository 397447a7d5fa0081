#include "monitor/DataMgrHelper.h"

#include <string>

#include "app/base/FileSystem.h"
#include "app/base/SmartLogger.h"
#include "app/SystemUtils.h"
#include "app/TrustedFile.h"
#include "app/base/DataMgrLib.h"
#include "monitor/HardwareTool.h"
#include "monitor/InfoReadyCallback.h"
#include "monitor/TemperatureRefresh.h"

namespace {

// The library's methods are reached by their place in the interface's table, as its callers always have.
template <class... A> HRESULT CallSlot(IUnknown* object, int slot, A... arguments) {
    using Method = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, A...);
    const Method method = reinterpret_cast<Method>((*reinterpret_cast<void***>(object))[slot]);
    return method(object, arguments...);
}

} // namespace

DataMgrHelper::DataMgrHelper() : m_infoReady(new CInfoReadyCallback()), m_temperature(new CTemperatureRefresh()) {
    m_infoReady->AddRef();
    m_temperature->AddRef();
}

DataMgrHelper::~DataMgrHelper() {
    if (m_proxy2) {
        m_proxy2->Release();
    }
    if (m_proxy) {
        m_proxy->Release();
    }
    m_temperature->Release();
    m_infoReady->Release();
}

bool DataMgrHelper::CallProxy(const GUID& iid, int slot, IUnknown* argument, const wchar_t* what) {
    IUnknown* face = nullptr;
    HRESULT result = m_proxy->QueryInterface(iid, reinterpret_cast<void**>(&face));
    if (SUCCEEDED(result)) {
        result = argument ? CallSlot(face, slot, argument) : CallSlot(face, slot);
        face->Release();
    }
    if (FAILED(result)) {
        WriteLog(L"[DataMgrHelper] %s failed, hr[0x%08lx]", what, static_cast<unsigned long>(result));
        return false;
    }
    return true;
}

bool DataMgrHelper::Connect() {
    const std::wstring folder = HardwareToolFolder(kHardwareToolView);
    if (folder.empty()) {
        return false;
    }
    const std::wstring library = folder + L"DataMgr.dll";
    m_library = LoadTrustedLibrary(library.c_str());
    if (!m_library) {
        WriteLog(L"[DataMgrHelper] untrusted or not loaded: %s", library.c_str());
        return false;
    }
    const auto getProxy = reinterpret_cast<DataMgrLib::PFN_GetDataMgrProxyEx>(
        reinterpret_cast<void*>(::GetProcAddress(m_library.Get(), "GetDataMgrProxyEx")));
    m_proxy = getProxy ? getProxy() : nullptr;
    if (!m_proxy) {
        WriteLog(L"[DataMgrHelper] no proxy");
        return false;
    }
    if (!CallProxy(DataMgrLib::IID_IDataMgrProxy, DataMgrLib::kSlotPrepare, nullptr, L"prepare")) {
        return false;
    }
    if (SUCCEEDED(m_proxy->QueryInterface(DataMgrLib::IID_IDataMgrProxy2, reinterpret_cast<void**>(&m_proxy2)))) {
        WriteLog(L"[DataMgrHelper] spDataMgrProxy2");
        CallSlot(m_proxy2, DataMgrLib::kSlotSetCompleteNotice, 1L);
    }
    if (!CallProxy(DataMgrLib::IID_IDataMgrNotify, DataMgrLib::kSlotSetInfoReadyCallback, m_infoReady,
                   L"info callback")) {
        return false;
    }
    IUnknown* temperatureFace = nullptr;
    if (SUCCEEDED(
            m_proxy->QueryInterface(DataMgrLib::IID_IDataMgrTemperature, reinterpret_cast<void**>(&temperatureFace)))) {
        temperatureFace->Release();
        if (!CallProxy(DataMgrLib::IID_IDataMgrTemperature, DataMgrLib::kSlotSetTemperatureCallback, m_temperature,
                       L"temperature callback")) {
            return false;
        }
    }
    const std::wstring service = folder + L"HardwixService.exe";
    if (FileExists(service)) {
        LaunchProcess(nullptr, service.c_str(), L"", SW_SHOW, false, 0, true, false);
    }
    return true;
}
