#pragma once

#include <windows.h>

#include <string>

// Where the build puts what the Windows tests use: this program's folder (<build>/tests, with the helpers,
// the integrity fixtures and the sample service's path) and the runnable tree beside it (<build>/bin).
inline std::wstring TestProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

inline std::wstring ShippedPath(const wchar_t* name) {
    return TestProgramFolder() + L"\\..\\bin\\" + name;
}

// The test libraries the build puts in <tests>/integrity.
inline std::wstring FixturePath(const wchar_t* name) {
    return TestProgramFolder() + L"\\integrity\\" + name;
}

inline bool IsWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

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

// Starts a program (under Wine a Unix one, by its Z: path) and waits up to timeoutMs for it. Wine reports no exit
// code of a Unix program, so callers look for its effect instead; false when it could not be started.
inline bool RunProgram(const wchar_t* program, std::wstring commandLine, DWORD timeoutMs) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return false;
    }
    ::WaitForSingleObject(process.hProcess, timeoutMs);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}
