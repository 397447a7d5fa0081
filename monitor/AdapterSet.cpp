#include "monitor/AdapterSet.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddndis.h>
#include <setupapi.h>

#include <cwchar>
#include <vector>

#include "app/base/ScopedHandle.h"

namespace {

// The NDIS LAN device interface class.
constexpr GUID kNdisLanClass = {0xAD498944, 0x762F, 0x11D0, {0x8D, 0xCB, 0x00, 0xC0, 0x4F, 0xC3, 0x35, 0x8C}};
// The network-adapter setup class.
constexpr GUID kNetClass = {0x4D36E972, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

class CDeviceList {
public:
    explicit CDeviceList(HDEVINFO list) : m_list(list) {}
    ~CDeviceList() {
        if (m_list != INVALID_HANDLE_VALUE) {
            ::SetupDiDestroyDeviceInfoList(m_list);
        }
    }
    CDeviceList(const CDeviceList&) = delete;
    CDeviceList& operator=(const CDeviceList&) = delete;
    HDEVINFO Get() const { return m_list; }

private:
    HDEVINFO m_list;
};

bool IsPhysicalBus(HDEVINFO list, SP_DEVINFO_DATA* device) {
    wchar_t enumerator[64] = {};
    if (!::SetupDiGetDeviceRegistryPropertyW(list, device, SPDRP_ENUMERATOR_NAME, nullptr,
                                             reinterpret_cast<BYTE*>(enumerator), sizeof(enumerator) - sizeof(wchar_t),
                                             nullptr)) {
        return false;
    }
    return _wcsicmp(enumerator, L"PCI") == 0 || _wcsicmp(enumerator, L"USB") == 0;
}

bool QueryPermanentAddress(const wchar_t* path, uint64_t* key) {
    CFileHandle device(::CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!device) {
        return false;
    }
    ULONG oid = OID_802_3_PERMANENT_ADDRESS;
    unsigned char address[8] = {};
    DWORD returned = 0;
    if (!::DeviceIoControl(device.Get(), IOCTL_NDIS_QUERY_GLOBAL_STATS, &oid, sizeof(oid), address, sizeof(address),
                           &returned, nullptr)) {
        return false;
    }
    *key = AdapterKey(address, returned);
    return true;
}

} // namespace

uint64_t AdapterKey(const unsigned char* address, unsigned length) {
    uint64_t key = 0;
    for (unsigned i = 0; i < length && i < 6; ++i) {
        key |= static_cast<uint64_t>(address[i]) << (8 * i);
    }
    return key;
}

bool BuildAdapterSet(AdapterSet* set) {
    CDeviceList list(::SetupDiGetClassDevsW(&kNdisLanClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (list.Get() == INVALID_HANDLE_VALUE) {
        return false;
    }
    SP_DEVICE_INTERFACE_DATA face = {};
    face.cbSize = sizeof(face);
    for (DWORD i = 0; ::SetupDiEnumDeviceInterfaces(list.Get(), nullptr, &kNdisLanClass, i, &face); ++i) {
        DWORD size = 0;
        ::SetupDiGetDeviceInterfaceDetailW(list.Get(), &face, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
            continue;
        }
        std::vector<BYTE> buffer(size);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof(device);
        if (!::SetupDiGetDeviceInterfaceDetailW(list.Get(), &face, detail, size, nullptr, &device) ||
            !IsEqualGUID(device.ClassGuid, kNetClass) || !IsPhysicalBus(list.Get(), &device)) {
            continue;
        }
        uint64_t key = 0;
        if (QueryPermanentAddress(detail->DevicePath, &key)) {
            set->insert(key);
        }
    }
    return true;
}
