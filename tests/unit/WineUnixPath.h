#pragma once

#include <windows.h>

#include <string>

// The Unix path of a Windows path under Wine (empty elsewhere or on failure): tests that start Unix
// programs through Wine must hand them Unix paths.
inline std::string WineUnixPath(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixName = toUnix ? toUnix(path.c_str()) : nullptr;
    if (!unixName) {
        return std::string();
    }
    std::string result(unixName);
    ::HeapFree(::GetProcessHeap(), 0, unixName);
    return result;
}
