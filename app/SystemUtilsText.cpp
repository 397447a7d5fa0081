#include "app/SystemUtilsText.h"

std::wstring NormaliseVersionText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L',') {
            out += L'.';
        } else if (c != L' ' && c != L'\t') {
            out += c;
        }
    }
    return out;
}

std::wstring BrowserCommandLine(const std::wstring& command, const std::wstring& address) {
    const std::wstring placeholder = L"%1";
    size_t at = command.find(placeholder);
    if (at == std::wstring::npos) {
        return command + L" " + address;
    }
    std::wstring out = command;
    while (at != std::wstring::npos) {
        out.replace(at, placeholder.size(), address);
        at = out.find(placeholder, at + address.size());
    }
    return out;
}

std::wstring LaunchCommandLine(const std::wstring& path, const std::wstring& arguments) {
    return L"\"" + path + L"\" " + arguments;
}

std::wstring ResolveBesideModule(const std::wstring& moduleFile, const std::wstring& path) {
    const bool drive = path.size() >= 2 && path[1] == L':';
    const bool rooted = !path.empty() && (path[0] == L'\\' || path[0] == L'/');
    if (drive || rooted) {
        return path;
    }
    const size_t slash = moduleFile.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : moduleFile.substr(0, slash + 1);
    return folder + path;
}
