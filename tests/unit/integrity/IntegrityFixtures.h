#pragma once

#include "unit/app/ScratchFolder.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The test libraries the build puts in <tests>/integrity.
inline std::wstring FixturePath(const wchar_t* name) {
    return TestProgramFolder() + L"\\integrity\\" + name;
}

inline std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    const std::string bytes = CScratchFolder::ReadFileText(path);
    return {bytes.begin(), bytes.end()};
}
