#pragma once

#include "app/base/ScopedHandle.h"

#include <cstdio>
#include <string>

namespace e2e {

// A process started by a test. One still running when the object goes is terminated, so a failed
// assertion never leaves a program behind to disturb the next test.
class CChildProcess {
public:
    CChildProcess() = default;
    ~CChildProcess() {
        if (IsRunning()) {
            ::TerminateProcess(m_process.Get(), 1);
            ::WaitForSingleObject(m_process.Get(), 5000);
        }
    }

    // commandLine holds the program path first; the working folder is this process's unless given. A start
    // the system refuses is reported with its error code and tried once more: under load, Wine has been seen
    // to refuse one now and then.
    bool Start(const std::wstring& commandLine, const wchar_t* workingFolder = nullptr) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started = {};
        for (int attempt = 1;; ++attempt) {
            std::wstring text = commandLine;
            if (::CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, workingFolder, &startup,
                                 &started)) {
                break;
            }
            std::fwprintf(stderr, L"start %d of %ls refused, error %lu\n", attempt, commandLine.c_str(),
                          ::GetLastError());
            if (attempt == 2) {
                return false;
            }
            ::Sleep(500);
        }
        CKernelHandle thread(started.hThread);
        m_process.Reset(started.hProcess);
        m_id = started.dwProcessId;
        m_commandLine = commandLine;
        return true;
    }

    DWORD Id() const { return m_id; }
    const std::wstring& CommandLine() const { return m_commandLine; }
    bool IsRunning() const { return m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT; }

    // True when the process has ended within timeoutMs.
    bool WaitForExit(DWORD timeoutMs) const {
        return m_process && ::WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0;
    }

    // True once the process waits for input with nothing left in its queue, within timeoutMs.
    bool WaitForIdle(DWORD timeoutMs) const { return m_process && ::WaitForInputIdle(m_process.Get(), timeoutMs) == 0; }

    // The exit code; STILL_ACTIVE while the process runs.
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        return m_process && ::GetExitCodeProcess(m_process.Get(), &code) ? code : STILL_ACTIVE;
    }

private:
    CKernelHandle m_process;
    DWORD m_id = 0;
    std::wstring m_commandLine;
};

} // namespace e2e
