#include "integrity/MachineIdText.h"

namespace {

// Keeps identifiers of this program apart from hashes of the same GUID made by anyone else.
constexpr std::string_view kPrefix = "deskling-machine-id:";

} // namespace

std::string MachineIdHashInput(std::wstring_view identity) {
    std::string kept;
    bool hasDigit = false;
    for (const wchar_t c : identity) {
        if ((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f')) {
            kept.push_back(static_cast<char>(c));
            hasDigit = true;
        } else if (c >= L'A' && c <= L'F') {
            kept.push_back(static_cast<char>(c - L'A' + L'a'));
            hasDigit = true;
        } else if (c == L'-') {
            kept.push_back('-');
        }
    }
    return hasDigit ? std::string(kPrefix) + kept : std::string();
}

std::wstring HexText(std::span<const uint8_t> bytes) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text;
    text.reserve(bytes.size() * 2);
    for (const uint8_t b : bytes) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}
