#pragma once

#include "e2e/E2eHarness.h"

#include <string>

namespace e2e {

// The runnable tree (its files and the net\ folder) copied into `folder` beside a services.ini that names the
// sample-data service on `port`; toolDownload, when given, replaces that service as the hardware tool's host.
// The copied deskling.exe, or empty when something could not be written.
inline std::wstring CopyTreeForService(const std::wstring& folder, int port, const std::wstring& toolDownload = {}) {
    const std::wstring tree = folder + L"\\tree";
    for (const wchar_t* below : {L"", L"\\net"}) {
        WIN32_FIND_DATAW entry;
        CFindHandle find(::FindFirstFileW((BinDir() + below + L"\\*").c_str(), &entry));
        for (bool more = EnsureFolder(tree + below) && find; more; more = ::FindNextFileW(find.Get(), &entry)) {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                ::CopyFileW((BinDir() + below + L"\\" + entry.cFileName).c_str(),
                            (tree + below + L"\\" + entry.cFileName).c_str(), FALSE);
            }
        }
    }
    const std::string service = "http://127.0.0.1:" + std::to_string(port);
    std::string ini = "[hosts]\r\n";
    for (const char* key : {"weather_cdn", "weather_origin", "static_cdn", "wallpaper", "stats"}) {
        ini += std::string(key) + "=" + service + "\r\n";
    }
    ini += "tool_download=" + (toolDownload.empty() ? service : std::string(toolDownload.begin(), toolDownload.end()));
    return WriteTextFile(tree + L"\\services.ini", ini + "\r\n") ? tree + L"\\deskling.exe" : std::wstring();
}

} // namespace e2e
