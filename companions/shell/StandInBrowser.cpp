// Records how it was started: writes its whole command line (UTF-8) to the file named by its first argument.
#include <windows.h>

#include <shellapi.h>

#include "companions/shell/WriteThrough.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments || count < 2) {
        return 2;
    }
    const wchar_t* line = ::GetCommandLineW();
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    std::string text(bytes > 0 ? bytes - 1 : 0, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), bytes, nullptr, nullptr);
    return WriteThrough(arguments[1], text) ? 0 : 1;
}
