#pragma once

#include "unit/app/ScratchFolder.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Where the build put the test libraries (<tests>/integrity) and the shipped binaries (<build>/bin),
// found from this test program's own path.
inline std::wstring TestProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

inline std::wstring FixturePath(const wchar_t* name) {
    return TestProgramFolder() + L"\\integrity\\" + name;
}

inline std::wstring ShippedPath(const wchar_t* name) {
    return TestProgramFolder() + L"\\..\\bin\\" + name;
}

inline std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    const std::string bytes = CScratchFolder::ReadFileText(path);
    return {bytes.begin(), bytes.end()};
}
