#pragma once

#include <windows.h>

#include <string>

// Writes text to path through a temporary name, so a reader polling for the file never sees half of it.
inline bool WriteThrough(const std::wstring& path, const std::string& text) {
    const std::wstring temporary = path + L".part";
    HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
    }
    return ok && ::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}
