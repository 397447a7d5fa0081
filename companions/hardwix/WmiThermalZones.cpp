#include "companions/hardwix/WmiThermalZones.h"

#include <string>

namespace {
struct BstrFree {
    void operator()(BSTR text) const { ::SysFreeString(text); }
};
using CBstr = std::unique_ptr<OLECHAR, BstrFree>;

// A WMI object answers within this; the zones are read every cycle, so a stalled provider only
// costs that cycle.
constexpr LONG kNextTimeoutMs = 2000;

void Fail(const wchar_t* what, HRESULT hr) {
    wchar_t text[160];
    swprintf(text, 160, L"HardwixService: %ls failed, 0x%08lX\n", what, static_cast<unsigned long>(hr));
    ::OutputDebugStringW(text);
}
} // namespace

bool CWmiThermalZones::Connect() {
    m_tried = true;
    IWbemLocator* locator = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                    reinterpret_cast<void**>(&locator));
    if (FAILED(hr)) {
        Fail(L"WbemLocator", hr);
        return false;
    }
    std::unique_ptr<IWbemLocator, ComRelease> ownedLocator(locator);
    CBstr space(::SysAllocString(L"ROOT\\WMI"));
    IWbemServices* services = nullptr;
    hr = locator->ConnectServer(space.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services);
    if (FAILED(hr)) {
        Fail(L"ConnectServer ROOT\\WMI", hr);
        return false;
    }
    m_services.reset(services);
    // The management service runs in another process, which must be allowed to act for this one.
    ::CoSetProxyBlanket(services, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    return true;
}

std::vector<hardwix::SensorSample> CWmiThermalZones::Read() {
    std::vector<hardwix::SensorSample> samples;
    if (!m_services && (m_tried || !Connect())) {
        return samples;
    }
    CBstr language(::SysAllocString(L"WQL"));
    CBstr query(::SysAllocString(L"SELECT InstanceName, CurrentTemperature FROM MSAcpi_ThermalZoneTemperature"));
    IEnumWbemClassObject* rows = nullptr;
    const HRESULT hr = m_services->ExecQuery(language.get(), query.get(),
                                             WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, &rows);
    if (FAILED(hr)) {
        Fail(L"thermal zone query", hr);
        m_services.reset();
        return samples;
    }
    std::unique_ptr<IEnumWbemClassObject, ComRelease> ownedRows(rows);
    IWbemClassObject* row = nullptr;
    ULONG returned = 0;
    while (rows->Next(kNextTimeoutMs, 1, &row, &returned) == WBEM_S_NO_ERROR && returned == 1) {
        std::unique_ptr<IWbemClassObject, ComRelease> ownedRow(row);
        VARIANT name;
        VARIANT temperature;
        ::VariantInit(&name);
        ::VariantInit(&temperature);
        if (SUCCEEDED(row->Get(L"CurrentTemperature", 0, &temperature, nullptr, nullptr)) &&
            SUCCEEDED(::VariantChangeType(&temperature, &temperature, 0, VT_I4))) {
            std::string instance;
            if (SUCCEEDED(row->Get(L"InstanceName", 0, &name, nullptr, nullptr)) && name.vt == VT_BSTR) {
                for (const wchar_t* c = name.bstrVal; *c; ++c) {
                    instance += *c < 0x80 ? static_cast<char>(*c) : '?';
                }
            }
            if (const auto celsius = hardwix::DeciKelvinToCelsius(temperature.lVal)) {
                samples.push_back({hardwix::AcpiZoneType(instance), *celsius});
            }
        }
        ::VariantClear(&name);
        ::VariantClear(&temperature);
    }
    return samples;
}
