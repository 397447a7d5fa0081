#pragma once

#include <windows.h>
#include <winhttp.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "unit/TestPaths.h"

// The sample-data service (tools/demo-service) run for one test suite on a free 127.0.0.1 port.
// Under Wine the test starts python3 as a Unix program; the service tells its port through a file,
// ends on /control/quit when the suite is done and by itself after a minute without requests, so a
// crashed test leaves nothing running for long.
class CDemoService {
public:
    CDemoService() {
        std::ifstream in(std::filesystem::path(TestProgramFolder() + L"\\net\\demo-service.path"));
        const std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_portFile = std::wstring(temp) + L"deskling-demo-service-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                     std::to_wstring(::GetTickCount()) + L".port";
        ::DeleteFileW(m_portFile.c_str());
        const std::string unixPortFile = WineUnixPath(m_portFile);
        // On the real clock: the end-to-end tests fake the Unix clock for every program they start and set it back
        // at each test, and under that library the service's sleeps failed with EINVAL.
        std::wstring commandLine =
            L"env -u LD_PRELOAD python3 " + Wide(script) + L" 0 --idle-exit 60 --port-file " + Wide(unixPortFile);
        if (script.empty() || unixPortFile.empty() || !RunProgram(L"Z:\\usr\\bin\\env", commandLine, 0)) {
            return;
        }
        for (int i = 0; i < 200 && m_port == 0; ++i) {
            std::ifstream{std::filesystem::path(m_portFile)} >> m_port;
            if (m_port == 0) {
                ::Sleep(50);
            }
        }
    }
    ~CDemoService() {
        if (m_port != 0) {
            Get(L"/control/quit");
        }
        ::DeleteFileW(m_portFile.c_str());
    }
    CDemoService(const CDemoService&) = delete;
    CDemoService& operator=(const CDemoService&) = delete;

    bool IsRunning() const { return m_port != 0; }
    int Port() const { return m_port; }
    std::wstring Url(const std::wstring& path) const { return L"http://127.0.0.1:" + std::to_wstring(m_port) + path; }

    // A plain synchronous GET, independent of the library under test; the body, empty on failure.
    std::string Get(const std::wstring& path) const {
        std::string body;
        HINTERNET session = ::WinHttpOpen(L"deskling-test", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                          WINHTTP_NO_PROXY_BYPASS, 0);
        HINTERNET connection =
            session ? ::WinHttpConnect(session, L"127.0.0.1", static_cast<INTERNET_PORT>(m_port), 0) : nullptr;
        HINTERNET request = connection ? ::WinHttpOpenRequest(connection, L"GET", path.c_str(), nullptr,
                                                              WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0)
                                       : nullptr;
        if (request &&
            ::WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
            ::WinHttpReceiveResponse(request, nullptr)) {
            char chunk[4096];
            DWORD read = 0;
            while (::WinHttpReadData(request, chunk, sizeof(chunk), &read) && read > 0) {
                body.append(chunk, read);
            }
        }
        for (HINTERNET h : {request, connection, session}) {
            if (h) {
                ::WinHttpCloseHandle(h);
            }
        }
        return body;
    }

private:
    static std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

    std::wstring m_portFile;
    int m_port = 0;
};
