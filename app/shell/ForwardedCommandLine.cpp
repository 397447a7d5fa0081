#include "app/shell/ForwardedCommandLine.h"

#include <cstring>

std::wstring ForwardedCommandLineText(const void* data, size_t bytes) {
    std::wstring text;
    if (!data) {
        return text;
    }
    const unsigned char* p = static_cast<const unsigned char*>(data);
    size_t units = bytes / 2;
    text.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        char16_t unit;
        std::memcpy(&unit, p + 2 * i, 2);
        if (unit == 0) {
            break;
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}
