#pragma once

#include "e2e/DesklingE2eTest.h"
#include "unit/net/DemoService.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace e2e {

inline RECT WindowRect(HWND hwnd) {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

// A part of the window, given in window coordinates, in screen coordinates.
inline RECT Offset(HWND hwnd, const RECT& part) {
    const RECT window = WindowRect(hwnd);
    return RECT{window.left + part.left, window.top + part.top, window.left + part.right, window.top + part.bottom};
}

// A number deskling saved in its settings file, or -999 where there is none. The file itself is read: Wine's
// profile functions keep a copy per process, which another process's write within the same file time leaves stale.
inline int SavedSetting(const std::string& section, const std::string& key) {
    std::ifstream file(std::filesystem::path(DataFolder() + L"\\deskling.ini"));
    bool inSection = false;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[" + section + "]";
        } else if (inSection && line.rfind(key + "=", 0) == 0) {
            return std::atoi(line.c_str() + key.size() + 1);
        }
    }
    return -999;
}

// An xdotool step that moves the pointer to (x, y) and lets the program see it.
inline std::wstring At(int x, int y) {
    return L" mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y) + L" sleep 0.1";
}

// Base of the tests whose deskling.exe runs from a copy of the runnable tree with a services.ini that names
// this test's sample-data service, so the widgets get its data and their usage events land there; the
// pointer is driven with xdotool, as a user would.
class CServiceTreeE2eTest : public CDesklingE2eTest {
protected:
    void SetUp() override {
        CDesklingE2eTest::SetUp();
        ASSERT_TRUE(m_service.IsRunning());
        m_scratch = TempFolder(L"service");
        m_exe = CopyTreeForService();
        ASSERT_FALSE(m_exe.empty());
    }

    // The sample-data service's address with the path.
    std::string ServiceUrl(const std::string& path = "") {
        return "http://127.0.0.1:" + std::to_string(m_service.Port()) + path;
    }

    // The runnable tree beside a services.ini that names the sample-data service of this test for every host but
    // those given another address in `hosts`; the copied deskling.exe, or empty when something could not be written.
    std::wstring CopyTreeForService(const std::map<std::string, std::string>& hosts = {}) {
        return CopyTreeWithServices(m_scratch + L"\\tree", ServiceUrl(), hosts);
    }

    // Runs xdotool with the arguments and waits for it. Wine cannot wait on a Unix program's handle, so a
    // shell runs xdotool and then makes a marker file, which is waited for.
    bool XDoTool(const std::wstring& arguments) {
        const std::wstring marker = m_scratch + L"\\xdotool-" + std::to_wstring(++m_xdotoolRuns);
        const std::string unixMarker = WineUnixPath(marker);
        std::wstring commandLine = L"sh -c \"xdotool " + arguments + L" && touch " +
                                   std::wstring(unixMarker.begin(), unixMarker.end()) + L"\"";
        return !unixMarker.empty() && RunProgram(L"Z:\\bin\\sh", commandLine, 0) &&
               WaitUntil([&] { return PathExists(marker); }, 10s);
    }

    // Starts deskling with the switches (and first the wallpaper application, unless it runs) and waits until its
    // window of the class shows; that window, the main window in m_main.
    HWND OpenWidget(const std::wstring& switches, const wchar_t* windowClass, bool startCompanion = true) {
        if (startCompanion) {
            StartCompanion();
        }
        CChildProcess& deskling = StartDeskling(switches, m_exe);
        HWND widget = nullptr;
        EXPECT_TRUE(
            WaitUntil([&] { return ::IsWindowVisible(widget = WaitForWindow(windowClass, deskling.Id(), 0ms)); }, 10s))
            << ReadLog();
        m_main = WaitForMainWindow(deskling);
        return widget;
    }

    // Ends deskling through a later instance's "/exit"; true once its main window is gone.
    bool ExitDeskling() {
        return StartDeskling(L"/exit", m_exe).WaitForExit(5000) && WaitUntil([&] { return !::IsWindow(m_main); }, 5s);
    }

    // True when the wallpaper application's switch for the widget is the number 0, as a close button leaves it.
    static bool SwitchedOff(const wchar_t* widget) {
        DWORD value = 1, size = sizeof(value);
        return ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\VexaWallPaper", widget, RRF_RT_REG_DWORD, nullptr, &value,
                              &size) == ERROR_SUCCESS &&
               value == 0;
    }

    // How many usage events with this action the service has recorded.
    size_t ReportCount(const std::string& action) {
        const std::string events = m_service.Get(L"/bizhi/list");
        const std::string field = "\"action\": \"" + action + "\"";
        size_t count = 0;
        for (size_t at = events.find(field); at != std::string::npos; at = events.find(field, at + field.size())) {
            ++count;
        }
        return count;
    }

    // True once the service has recorded the usage event.
    bool Reported(const std::string& action) {
        return WaitUntil([&] { return ReportCount(action) > 0; }, 5s);
    }

    CDemoService m_service;
    std::wstring m_scratch;
    std::wstring m_exe;
    HWND m_main = nullptr;

private:
    int m_xdotoolRuns = 0;
};

} // namespace e2e
