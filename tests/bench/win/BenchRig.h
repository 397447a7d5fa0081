#pragma once

// What the benchmarks of whole processes share: the log switched on and the wallpaper application's
// stand-in running for as long as the rig lives, a running deskling.exe, a watch on the log, the median.

#include "bench/pure/BenchRegistry.h"
#include "e2e/ChildProcess.h"
#include "e2e/E2eHarness.h"

#include <algorithm>
#include <string>
#include <vector>

namespace bench {

using namespace e2e;

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : (values[(values.size() - 1) / 2] + values[values.size() / 2]) / 2;
}

// Each undone when the rig goes: the log switch it created, the companion it started.
class CBenchRig {
public:
    explicit CBenchRig(const char* bench) : m_bench(bench) {}

    // False, with a note saying why, when the benchmark cannot run.
    bool Start() {
        if (!ProcessIdsNamed(L"deskling.exe").empty()) {
            return Note("a deskling.exe already runs; not measured");
        }
        m_createdSwitch = !PathExists(LogSwitchPath());
        if (!EnableLog()) {
            return Note("cannot switch the log on");
        }
        if (FindTopLevelWindows(kCompanionClass).empty() &&
            (!m_companion.Start(Quoted(CompanionExe())) || !WaitForWindow(kCompanionClass, m_companion.Id(), 10s))) {
            return Note("the companion did not start");
        }
        return true;
    }
    ~CBenchRig() {
        if (m_companion.IsRunning()) {
            for (HWND control : FindTopLevelWindows(kCompanionClass, m_companion.Id())) {
                ::PostMessageW(control, WM_CLOSE, 0, 0);
            }
            m_companion.WaitForExit(5000);
        }
        if (m_createdSwitch) {
            ::DeleteFileW(LogSwitchPath().c_str());
        }
    }

    bool Note(const std::string& why) const {
        BenchNote(m_bench, why.c_str());
        return false;
    }

private:
    static constexpr const wchar_t* kCompanionClass = L"VexaWallPaperCtrlCls";
    const char* m_bench;
    CChildProcess m_companion;
    bool m_createdSwitch = false;
};

// A deskling.exe with a widget open (so the idle exit leaves it), ended with "/exit".
class CRunningInstance {
public:
    bool Start(const std::wstring& exe = DesklingExe(), const wchar_t* widgetSwitch = L"/weather") {
        m_exe = exe;
        return m_process.Start(Quoted(exe) + L" " + widgetSwitch) &&
               WaitForWindow(L"VexawpMainWndClass", m_process.Id(), 10s);
    }
    ~CRunningInstance() {
        if (m_process.IsRunning()) {
            CChildProcess exit;
            exit.Start(Quoted(m_exe) + L" /exit");
            exit.WaitForExit(5000);
            m_process.WaitForExit(5000);
        }
    }

private:
    std::wstring m_exe;
    CChildProcess m_process;
};

// What the log gained since the tail was made. The handle stays open, so a look costs a size query and a
// read, not an open: the watch must not slow down the processes it times.
class CLogTail {
public:
    CLogTail()
        : m_file(::CreateFileW(LogPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        LARGE_INTEGER end = {};
        if (m_file && ::SetFilePointerEx(m_file.Get(), {}, &end, FILE_END)) {
            m_offset = end.QuadPart;
        }
    }

    bool Holds(const std::string& text) {
        LARGE_INTEGER size = {};
        if (m_file && ::GetFileSizeEx(m_file.Get(), &size) && size.QuadPart > m_offset) {
            std::string chunk(static_cast<size_t>(size.QuadPart - m_offset), '\0');
            DWORD got = 0;
            if (::ReadFile(m_file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
                m_seen.append(chunk, 0, got);
                m_offset += got;
            }
        }
        return m_seen.find(text) != std::string::npos;
    }

private:
    CFileHandle m_file;
    LONGLONG m_offset = 0;
    std::string m_seen;
};

} // namespace bench
