#include "net/ServiceHosts.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <fstream>
#include <iterator>

namespace {

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// A base URL as the requests need it: http or https with a host, printable ASCII without blanks, and no
// trailing slash (one is forgiven). Empty when the value cannot serve, with the reason in why.
std::wstring BaseUrl(std::string_view value, const char*& why) {
    while (!value.empty() && value.back() == '/') {
        value.remove_suffix(1);
    }
    const size_t scheme = StartsWithIgnoringCase(value, "http://")    ? 7
                          : StartsWithIgnoringCase(value, "https://") ? 8
                                                                      : 0;
    why = scheme == 0              ? "not an http or https address"
          : value.size() == scheme ? "no host"
          : !std::all_of(value.begin(), value.end(), [](char c) { return c > ' ' && c < 0x7F; })
              ? "a blank, control or non-ASCII character"
              : nullptr;
    if (why) {
        return {};
    }
    // The scheme in lower case, so that callers may compare it.
    std::wstring url(value.begin(), value.end());
    for (size_t i = 0; i < scheme; ++i) {
        url[i] = static_cast<wchar_t>(std::towlower(url[i]));
    }
    return url;
}

} // namespace

CServiceHosts::CServiceHosts()
    : m_weatherCdn(kDefaultBase), m_weatherOrigin(kDefaultBase), m_staticCdn(kDefaultBase), m_wallpaper(kDefaultBase),
      m_stats(kDefaultBase), m_toolDownload(kDefaultBase) {}

bool CServiceHosts::Load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Parse(text);
    return true;
}

void CServiceHosts::Parse(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    bool inHosts = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            inHosts = line.back() == ']' && EqualsIgnoringCase(Trim(line.substr(1, line.size() - 2)), "hosts");
            continue;
        }
        const size_t equals = line.find('=');
        std::wstring* host =
            inHosts && equals != std::string_view::npos ? HostFor(Trim(line.substr(0, equals))) : nullptr;
        if (!host) {
            continue;
        }
        const char* why = nullptr;
        std::wstring url = BaseUrl(Trim(line.substr(equals + 1)), why);
        if (!url.empty()) {
            *host = std::move(url);
        } else {
            const std::string_view key = Trim(line.substr(0, equals));
            m_unusable.push_back(std::wstring(key.begin(), key.end()) + L": " +
                                 std::wstring(why, why + std::strlen(why)));
        }
    }
}

std::wstring* CServiceHosts::HostFor(std::string_view key) {
    const std::pair<const char*, std::wstring*> keys[] = {
        {"weather_cdn", &m_weatherCdn},
        {"weather_origin", &m_weatherOrigin},
        {"static_cdn", &m_staticCdn},
        {"wallpaper", &m_wallpaper},
        {"stats", &m_stats},
        {"tool_download", &m_toolDownload},
    };
    for (const auto& [name, member] : keys) {
        if (EqualsIgnoringCase(key, name)) {
            return member;
        }
    }
    return nullptr;
}
