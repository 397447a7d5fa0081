#include "net/FormatRate.h"

#include <cwchar>

namespace {

template <class T> std::wstring Format(const wchar_t* format, T value) {
    wchar_t text[64] = {};
    std::swprintf(text, sizeof(text) / sizeof(text[0]), format, value);
    return text;
}

// Two decimals lose a trailing zero ("1.50K" -> "1.5K"); only then are the ".0" left removed as well,
// so "1.00K" ends as "1K" while a one-decimal "120.0K" keeps its point.
std::wstring Trim(std::wstring text) {
    const size_t point = text.find(L'.');
    if (point == std::wstring::npos || point + 2 >= text.size() || text[point + 2] != L'0') {
        return text;
    }
    text.erase(point + 2, 1);
    for (size_t at = text.find(L".0"); at != std::wstring::npos; at = text.find(L".0", at)) {
        text.erase(at, 2);
    }
    return text;
}

} // namespace

std::wstring FormatRate(int64_t bytes) {
    if (bytes <= 0) {
        return L"0.00K";
    }
    const long long kilo = bytes / 1024;
    const double kiloExact = static_cast<double>(bytes) / 1024.0;
    if (bytes % 1024 == 0) {
        if (kilo < 1024) {
            return Format(L"%lldK", kilo);
        }
        if (kilo % 1024 == 0) {
            return Format(L"%lldM", kilo / 1024);
        }
    }
    if (kilo < 100) {
        return Trim(Format(L"%.2fK", kiloExact));
    }
    if (kilo < 1000) {
        return Trim(Format(L"%.1fK", kiloExact));
    }
    if (kilo < 1024) {
        return Trim(Format(L"%lldK", kilo));
    }
    const double mega = kiloExact / 1024.0;
    return Trim(Format(kilo / 1024 < 100 ? L"%.2fM" : L"%.1fM", mega));
}
