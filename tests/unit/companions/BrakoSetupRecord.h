#pragma once

#include <windows.h>

#include <string>

#include "app/base/ScopedHandle.h"

// The hardware tool's setup record "Setup Path" under HKLM "SOFTWARE\Brako" in one registry view; empty when
// absent.
inline std::wstring BrakoSetupPath(REGSAM view) {
    CRegKey key;
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof(path) - sizeof(wchar_t);
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Brako", 0, KEY_QUERY_VALUE | view, key.Receive()) !=
            ERROR_SUCCESS ||
        ::RegQueryValueExW(key.Get(), L"Setup Path", nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size) !=
            ERROR_SUCCESS) {
        return std::wstring();
    }
    return path;
}
