// netload.dll, in "net\" beside deskling.exe: gates whether network rates are reported. Reporting is
// allowed unless the hardware tool's settings switch it off: HKLM "SOFTWARE\Brako" value "NetLoad" as the
// DWORD 0 (in the 32-bit view, where the tool keeps its settings for every program).
#include <windows.h>

#include "app/base/ScopedHandle.h"

extern "C" __declspec(dllexport) int WINAPI BkoIsInstall() {
    CRegKey key;
    DWORD value = 1;
    DWORD size = sizeof(value);
    DWORD kind = 0;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Brako", 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, key.Receive()) ==
            ERROR_SUCCESS &&
        ::RegQueryValueExW(key.Get(), L"NetLoad", nullptr, &kind, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        kind == REG_DWORD) {
        return value != 0;
    }
    return 1;
}
