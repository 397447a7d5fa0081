#pragma once

#include "e2e/ChildProcess.h"
#include "e2e/E2eHarness.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

namespace e2e {

inline constexpr wchar_t kMainWndClass[] = L"VexawpMainWndClass";
inline constexpr wchar_t kCalendarWndClass[] = L"VexawpCalendarWndClass";
inline constexpr wchar_t kWeatherWndClass[] = L"VexawpWeatherWndClass";
inline constexpr wchar_t kNewsWndClass[] = L"VexawpNewsWndClass";
// Where the weather widget asks the service for a town's weather.
inline constexpr wchar_t kWeatherPath[] = L"/sed_api_weather_info.php";
inline constexpr wchar_t kControlWndClass[] = L"VexaWallPaperCtrlCls";
inline constexpr wchar_t kUIThreadWndClass[] = L"DesklingUIThreadWindow";
inline constexpr ULONG_PTR kCommandLineTag = 1000;
inline constexpr wchar_t kSwitchBar[] = L"VexaDirectUICls_SwitchBar";
inline constexpr wchar_t kFence[] = L"VexaDTFence";

// The visible wallpaper-application bar with this title, if any.
inline HWND VisibleBar(const wchar_t* title) {
    HWND bar = ::FindWindowExW(nullptr, nullptr, L"VexaDirectUICls", title);
    return ::IsWindowVisible(bar) ? bar : nullptr;
}

// Sends one record to a main window the way a later instance does; true when it was taken.
inline bool SendRecord(HWND to, ULONG_PTR tag, const void* data, size_t bytes) {
    COPYDATASTRUCT record = {tag, static_cast<DWORD>(bytes), const_cast<void*>(data)};
    DWORD_PTR reply = FALSE;
    return ::SendMessageTimeoutW(to, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record), SMTO_BLOCK | SMTO_ABORTIFHUNG,
                                 5000, &reply) &&
           reply == TRUE;
}

// Base of the end-to-end tests: every test starts with the log switched on and empty, no data folder,
// no wallpaper-application key and no program of the tree running, and ends with the companion's control
// window closed, after which every deskling.exe must end by itself.
class CDesklingE2eTest : public ::testing::Test {
protected:
    // Programs of an earlier test that failed before it could end them go first.
    void SetUp() override {
        EndProcessesNamed(L"Vexawpapp.exe");
        EndProcessesNamed(L"deskling.exe");
        ASSERT_TRUE(PathExists(DesklingExe())) << "no deskling.exe in " << BinDir();
        ASSERT_TRUE(EnableLog());
        ASSERT_TRUE(ClearLog());
        ASSERT_TRUE(DeleteTree(DataFolder()));
        LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VexaWallPaper");
        ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
    }

    void TearDown() override {
        for (HWND control : FindTopLevelWindows(kControlWndClass)) {
            ::PostMessageW(control, WM_CLOSE, 0, 0);
        }
        EXPECT_TRUE(WaitUntil([] { return ProcessIdsNamed(L"deskling.exe").empty(); }, 3s))
            << "deskling.exe still runs 3 s after the control window was closed";
        EndProcessesNamed(L"deskling.exe");
        m_processes.clear();
        for (const std::wstring& folder : m_tempFolders) {
            DeleteTree(folder);
        }
    }

    // Starts deskling.exe (by default the one of the runnable tree) with switches.
    CChildProcess& StartDeskling(const std::wstring& switches, const std::wstring& exe = DesklingExe()) {
        return Start(Quoted(exe) + L" " + switches);
    }

    // Starts the companion and waits for its control window.
    CChildProcess& StartCompanion(const std::wstring& arguments = {}) {
        CChildProcess& companion = Start(Quoted(CompanionExe()) + L" " + arguments);
        EXPECT_NE(WaitForWindow(kControlWndClass, companion.Id(), 10s), nullptr) << "no control window";
        return companion;
    }

    // Runs a later companion, which hands its arguments to the running one and ends with code 0.
    void PassToCompanion(const std::wstring& arguments) {
        CChildProcess& later = Start(Quoted(CompanionExe()) + L" " + arguments);
        EXPECT_TRUE(later.WaitForExit(5000));
        EXPECT_EQ(later.ExitCode(), 0u) << arguments;
    }

    CChildProcess& Start(const std::wstring& commandLine, const wchar_t* workingFolder = nullptr) {
        CChildProcess& process = m_processes.emplace_back();
        EXPECT_TRUE(process.Start(commandLine, workingFolder)) << "cannot start " << commandLine;
        return process;
    }

    static HWND WaitForMainWindow(const CChildProcess& process, std::chrono::milliseconds timeout = 10s) {
        return WaitForWindow(kMainWndClass, process.Id(), timeout);
    }

    // True once the process shows its calendar window.
    static bool WaitForCalendar(DWORD processId) {
        return WaitUntil([&] { return ::IsWindowVisible(WaitForWindow(kCalendarWndClass, processId, 0ms)); }, 10s);
    }

    // A scratch folder removed when the test ends.
    std::wstring TempFolder(const std::wstring& tag) {
        std::wstring folder = MakeTempFolder(tag);
        EXPECT_FALSE(folder.empty());
        m_tempFolders.push_back(folder);
        return folder;
    }

private:
    // A deque keeps references to started processes valid while more are added.
    std::deque<CChildProcess> m_processes;
    std::vector<std::wstring> m_tempFolders;
};

} // namespace e2e
