#include "integrity/MachineId.h"

#include "app/base/ScopedHandle.h"
#include "integrity/Digest.h"
#include "integrity/MachineIdText.h"

#include <cwchar>

std::wstring ReadMachineGuid() {
    // The 64-bit view holds the value; a 32-bit process would otherwise read the empty WOW64 one.
    CRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                        key.Receive()) != ERROR_SUCCESS) {
        return {};
    }
    wchar_t value[128] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key.Get(), L"MachineGuid", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return {};
    }
    return value;
}

namespace {

std::wstring ReadSystemVolumeSerial() {
    wchar_t windows[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    if (length < 3 || length >= MAX_PATH) {
        return {};
    }
    windows[3] = L'\0';
    DWORD serial = 0;
    if (!::GetVolumeInformationW(windows, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
        return {};
    }
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%08x", static_cast<unsigned>(serial));
    return text;
}

} // namespace

std::wstring GetMachineId() {
    std::string input = MachineIdHashInput(ReadMachineGuid());
    if (input.empty()) {
        input = MachineIdHashInput(ReadSystemVolumeSerial());
    }
    if (input.empty()) {
        return {};
    }
    const auto digest =
        CDigest::Of(EDigestAlgorithm::Sha256, {reinterpret_cast<const uint8_t*>(input.data()), input.size()});
    return HexText(digest);
}
