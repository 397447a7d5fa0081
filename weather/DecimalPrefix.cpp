#include "weather/DecimalPrefix.h"

#include <algorithm>
#include <climits>
#include <cwchar>

int DecimalPrefix(const std::wstring& text) {
    // long is 32 bits on Windows and 64 elsewhere; both saturate instead of wrapping.
    const long value = std::wcstol(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}
