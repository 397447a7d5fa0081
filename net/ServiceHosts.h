#pragma once

#include "app/base/SingletonT.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The base URLs of the web services, from "services.ini" beside the executable, section [hosts]: each
// an http or https address without a trailing slash. Read once at start-up on the UI thread, before
// any request, and only read afterwards, so any thread may ask. A missing file, key or unusable value
// keeps the built-in default, the local sample-data service.
class CServiceHosts : public CSingletonT<CServiceHosts> {
public:
    static constexpr const wchar_t* kDefaultBase = L"http://127.0.0.1:18080";

    CServiceHosts();

    // Reads the file; false when it cannot be read (every host then keeps its default).
    bool Load(const std::filesystem::path& file);
    // Takes the hosts from ini text (UTF-8, an optional byte-order mark, LF or CR LF line ends).
    void Parse(std::string_view text);

    const std::wstring& WeatherCdn() const { return m_weatherCdn; }
    const std::wstring& WeatherOrigin() const { return m_weatherOrigin; }
    const std::wstring& StaticCdn() const { return m_staticCdn; }
    const std::wstring& Wallpaper() const { return m_wallpaper; }
    const std::wstring& Stats() const { return m_stats; }
    const std::wstring& ToolDownload() const { return m_toolDownload; }
    // One "key: reason" for every value of a known key that was refused, in file order, for the log.
    const std::vector<std::wstring>& Unusable() const { return m_unusable; }

private:
    // The member a key of [hosts] sets, matched without regard to letter case; null for other keys.
    std::wstring* HostFor(std::string_view key);

    std::wstring m_weatherCdn;
    std::wstring m_weatherOrigin;
    std::wstring m_staticCdn;
    std::wstring m_wallpaper;
    std::wstring m_stats;
    std::wstring m_toolDownload;
    std::vector<std::wstring> m_unusable;
};
