#include "companions/wpapp/WpappLog.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

void WpappLog(const wchar_t* format, ...) {
    HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
    if (err == nullptr || err == INVALID_HANDLE_VALUE) {
        return;
    }
    wchar_t text[1024];
    va_list args;
    va_start(args, format);
    int length = _vsnwprintf(text, ARRAYSIZE(text) - 1, format, args);
    va_end(args);
    if (length < 0) {
        length = ARRAYSIZE(text) - 1;
    }
    text[length] = L'\0';
    std::wstring line = L"Vexawpapp: ";
    line += text;
    line += L"\n";
    int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr,
                          nullptr);
    DWORD written = 0;
    ::WriteFile(err, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}
