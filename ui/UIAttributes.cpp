#include "ui/UIAttributes.h"

#include <limits>

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Reads a whole (trimmed) decimal integer with an optional minus sign, refusing overflow.
bool ReadInt(std::wstring_view text, int& value) {
    text = Trim(text);
    const bool negative = !text.empty() && text.front() == L'-';
    if (negative) {
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 10) {
        return false;
    }
    long long number = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
        number = number * 10 + (c - L'0');
    }
    number = negative ? -number : number;
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

// Splits "a,b,..." into exactly count integers.
template <size_t Count> bool ReadInts(std::wstring_view text, int (&values)[Count]) {
    for (size_t i = 0; i < Count; ++i) {
        const size_t comma = text.find(L',');
        const bool last = i + 1 == Count;
        if (last != (comma == std::wstring_view::npos) || !ReadInt(text.substr(0, comma), values[i])) {
            return false;
        }
        text = last ? std::wstring_view() : text.substr(comma + 1);
    }
    return true;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

} // namespace

bool ParseUIRect(std::wstring_view text, UIRect& rect) {
    int v[4];
    if (!ReadInts(text, v) || v[2] < 0 || v[3] < 0) {
        return false;
    }
    rect = UIRect{v[0], v[1], v[2], v[3]};
    return true;
}

bool ParseUISize(std::wstring_view text, int& width, int& height) {
    int v[2];
    if (!ReadInts(text, v) || v[0] < 0 || v[1] < 0) {
        return false;
    }
    width = v[0];
    height = v[1];
    return true;
}

bool ParseUIColor(std::wstring_view text, uint32_t& argb) {
    text = Trim(text);
    if ((text.size() != 7 && text.size() != 9) || text.front() != L'#') {
        return false;
    }
    uint32_t value = 0;
    for (wchar_t c : text.substr(1)) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return false;
        }
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    argb = text.size() == 7 ? 0xFF000000u | value : value;
    return true;
}

bool ParseUIInt(std::wstring_view text, int low, int high, int& value) {
    int number = 0;
    if (!ReadInt(text, number) || number < low || number > high) {
        return false;
    }
    value = number;
    return true;
}

bool ParseUIBool(std::wstring_view text, bool& value) {
    text = Trim(text);
    if (text != L"true" && text != L"false") {
        return false;
    }
    value = text == L"true";
    return true;
}

bool ParseUIAlign(std::wstring_view text, UIAlign& align) {
    text = Trim(text);
    if (text == L"left") {
        align = UIAlign::Left;
    } else if (text == L"center") {
        align = UIAlign::Center;
    } else if (text == L"right") {
        align = UIAlign::Right;
    } else {
        return false;
    }
    return true;
}
