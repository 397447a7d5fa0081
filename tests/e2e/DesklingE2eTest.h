#pragma once

#include "e2e/ChildProcess.h"
#include "e2e/E2eHarness.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

namespace e2e {

inline constexpr wchar_t kMainWndClass[] = L"VexawpMainWndClass";
inline constexpr wchar_t kControlWndClass[] = L"VexaWallPaperCtrlCls";
inline constexpr wchar_t kBarWndClass[] = L"VexaDirectUICls";

// Base of the end-to-end tests: every test starts with the log switched on and empty, no data folder,
// no wallpaper-application key and no program of the tree running, and ends with the companion asked
// to quit and every deskling.exe gone.
class CDesklingE2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        EndProcessesNamed(L"Vexawpapp.exe");
        EndProcessesNamed(L"deskling.exe");
        ASSERT_TRUE(PathExists(DesklingExe())) << "no deskling.exe in " << Narrow(BinDir());
        ASSERT_TRUE(EnableLog());
        ASSERT_TRUE(ClearLog());
        ASSERT_TRUE(DeleteTree(DataFolder()));
        ASSERT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, L"Software\\VexaWallPaper"));
    }

    // The companion going is the wallpaper application going: every deskling.exe must follow it
    // within about a second, by itself.
    void TearDown() override {
        for (HWND control : FindTopLevelWindows(kControlWndClass)) {
            ::PostMessageW(control, WM_CLOSE, 0, 0);
        }
        bool desklingEnded = WaitUntil([] { return ProcessIdsNamed(L"deskling.exe").empty(); }, 3s);
        EXPECT_TRUE(desklingEnded) << "deskling.exe still runs 3 s after the control window was closed";
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
        EXPECT_NE(WaitForWindow(kControlWndClass, companion.Id(), 10s), nullptr)
            << "the companion shows no control window";
        return companion;
    }

    CChildProcess& Start(const std::wstring& commandLine) {
        CChildProcess& process = m_processes.emplace_back();
        EXPECT_TRUE(process.Start(commandLine)) << "cannot start " << Narrow(commandLine);
        return process;
    }

    static HWND WaitForMainWindow(const CChildProcess& process, std::chrono::milliseconds timeout = 10s) {
        return WaitForWindow(kMainWndClass, process.Id(), timeout);
    }

    // A scratch folder removed when the test ends.
    std::wstring TempFolder(const std::wstring& tag) {
        std::wstring folder = MakeTempFolder(tag);
        EXPECT_FALSE(folder.empty());
        m_tempFolders.push_back(folder);
        return folder;
    }

    static std::string Narrow(const std::wstring& text) {
        int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                          nullptr);
        std::string utf8(static_cast<size_t>(bytes), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr,
                              nullptr);
        return utf8;
    }

    // The log, for failure messages.
    static std::string LogForMessage() { return "log:\n" + Narrow(ReadLog()); }

private:
    // Programs of an earlier test that failed before it could end them.
    static void EndProcessesNamed(const std::wstring& exeName) {
        for (DWORD id : ProcessIdsNamed(exeName)) {
            CKernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
            if (process) {
                ::TerminateProcess(process.Get(), 1);
                ::WaitForSingleObject(process.Get(), 5000);
            }
        }
    }

    // A deque keeps references to started processes valid while more are added.
    std::deque<CChildProcess> m_processes;
    std::vector<std::wstring> m_tempFolders;
};

} // namespace e2e
