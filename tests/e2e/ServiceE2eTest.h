#pragma once

#include "e2e/DesklingE2eTest.h"
#include "unit/net/DemoService.h"

#include <string>

namespace e2e {

inline RECT WindowRect(HWND hwnd) {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

// An xdotool step that moves the pointer to (x, y) and lets the program see it.
inline std::wstring At(int x, int y) {
    return L" mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y) + L" sleep 0.1";
}

// Base of the end-to-end tests of widgets with data: deskling.exe runs from a copy of the runnable tree whose
// services point at this test's sample-data service, and the pointer is driven for real with xdotool.
class CServiceE2eTest : public CDesklingE2eTest {
protected:
    void SetUp() override {
        CDesklingE2eTest::SetUp();
        ASSERT_TRUE(m_service.IsRunning());
        m_scratch = TempFolder(L"widget");
        m_exe = CopyTreeForService();
        ASSERT_FALSE(m_exe.empty());
    }

    // The runnable tree copied beside a services.ini that names the sample-data service of this test.
    std::wstring CopyTreeForService() {
        const std::wstring tree = m_scratch + L"\\tree";
        WIN32_FIND_DATAW entry;
        CFindHandle find(::FindFirstFileW((BinDir() + L"\\*").c_str(), &entry));
        for (bool more = EnsureFolder(tree) && find; more; more = ::FindNextFileW(find.Get(), &entry)) {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                ::CopyFileW((BinDir() + L"\\" + entry.cFileName).c_str(), (tree + L"\\" + entry.cFileName).c_str(),
                            FALSE);
            }
        }
        std::string ini = "[hosts]\r\n";
        for (const char* key : {"weather_cdn", "weather_origin", "static_cdn", "wallpaper", "stats", "tool_download"}) {
            ini += std::string(key) + "=http://127.0.0.1:" + std::to_string(m_service.Port()) + "\r\n";
        }
        return WriteTextFile(tree + L"\\services.ini", ini) ? tree + L"\\deskling.exe" : std::wstring();
    }

    // Runs xdotool with the arguments and waits for it. Wine cannot wait on a Unix program's handle, so a
    // shell runs xdotool and then makes a marker file, which is waited for.
    bool XDoTool(const std::wstring& arguments) {
        const std::wstring marker = m_scratch + L"\\xdotool-" + std::to_wstring(++m_xdotoolRuns);
        const std::string unixMarker = WineUnixPath(marker);
        std::wstring commandLine = L"sh -c \"xdotool " + arguments + L" && touch " +
                                   std::wstring(unixMarker.begin(), unixMarker.end()) + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started = {};
        if (unixMarker.empty() || !::CreateProcessW(L"Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0,
                                                    nullptr, nullptr, &startup, &started)) {
            return false;
        }
        CKernelHandle thread(started.hThread), process(started.hProcess);
        return WaitUntil([&] { return PathExists(marker); }, 10s);
    }

    // True once the service has recorded the statistics event.
    bool Reported(const char* event) {
        return WaitUntil([&] { return m_service.Get(L"/bizhi/list").find(event) != std::string::npos; }, 5s);
    }

    CDemoService m_service;
    std::wstring m_scratch;
    std::wstring m_exe;
    int m_xdotoolRuns = 0;
};

} // namespace e2e
