#pragma once

// What the benchmarks of whole processes share: the log switched on and the wallpaper application's
// stand-in running for as long as the rig lives, a running deskling.exe, a watch on the log, the median.

#include "bench/pure/BenchRegistry.h"
#include "bench/win/BareLayeredWindow.h"
#include "e2e/ChildProcess.h"
#include "e2e/E2eHarness.h"
#include "unit/net/DemoService.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
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

// A deskling.exe of the runnable tree, or of a copy of it, with widgets open (by default a placeholder, so
// the idle exit leaves it), ended with "/exit".
class CRunningInstance {
public:
    explicit CRunningInstance(std::wstring exe = DesklingExe()) : m_exe(std::move(exe)) {}

    bool Start(const std::wstring& switches = L"/weather") {
        return m_process.Start(Quoted(m_exe) + L" " + switches) &&
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

    DWORD Id() const { return m_process.Id(); }

private:
    std::wstring m_exe;
    CChildProcess m_process;
};

// The sample-data service of this benchmark, and a copy of the runnable tree whose services all name it;
// both go with the object.
class CServiceTree {
public:
    bool Start() {
        m_folder = MakeTempFolder(L"bench-tree");
        m_exe = m_service.IsRunning() && !m_folder.empty()
                    ? CopyTreeWithServices(m_folder, "http://127.0.0.1:" + std::to_string(m_service.Port()))
                    : std::wstring();
        return !m_exe.empty();
    }
    ~CServiceTree() {
        if (!m_folder.empty()) {
            DeleteTree(m_folder);
        }
    }

    const std::wstring& Exe() const { return m_exe; }
    CDemoService& Service() { return m_service; }

private:
    CDemoService m_service;
    std::wstring m_folder;
    std::wstring m_exe;
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

// Forwards `switches` to the running instance through a later `exe`; the milliseconds from their arrival (the
// "MSG_COPYDATA_CMD_LINE" log line) to each of the log lines `marks`, or nothing when one did not come in 15 s.
inline std::optional<std::vector<double>> ForwardedLatencies(const std::wstring& exe, const std::wstring& switches,
                                                             const std::vector<std::string>& marks) {
    CLogTail tail;
    CChildProcess later;
    if (!later.Start(Quoted(exe) + L" " + switches)) {
        return std::nullopt;
    }
    std::optional<Clock::time_point> arrived;
    std::vector<double> latencies(marks.size(), -1);
    for (const auto deadline = Clock::now() + 15s; Clock::now() < deadline; ::Sleep(1)) {
        if (!arrived && tail.Holds("MSG_COPYDATA_CMD_LINE")) {
            arrived = Clock::now();
        }
        for (size_t i = 0; arrived && i < marks.size(); ++i) {
            if (latencies[i] < 0 && tail.Holds(marks[i])) {
                latencies[i] = MillisecondsSince(*arrived);
            }
        }
        if (arrived && std::none_of(latencies.begin(), latencies.end(), [](double ms) { return ms < 0; })) {
            // Ended by itself, not cut short by the end of this scope.
            later.WaitForExit(5000);
            return latencies;
        }
    }
    return std::nullopt;
}

// The median of each of `marks` (ForwardedLatencies) over `runs` new instances of `exe` that get `switches`
// forwarded, and last the median first frame of as many bare layered windows of the widget's size; nothing,
// with a note, when a run did not complete.
inline std::optional<std::vector<double>> MedianForwardedLatencies(const CBenchRig& rig, const std::wstring& exe,
                                                                   const std::wstring& switches,
                                                                   const std::vector<std::string>& marks, int runs,
                                                                   SIZE widget) {
    std::vector<std::vector<double>> samples(marks.size() + 1);
    for (int run = 0; run < runs; ++run) {
        std::optional<std::vector<double>> latencies;
        // One retry: the instance of the run before may still be ending, and a new one then hands its
        // command line over and quits.
        for (int attempt = 0; attempt < 2 && !latencies; ++attempt) {
            CRunningInstance instance(exe);
            latencies = instance.Start() ? ForwardedLatencies(exe, switches, marks) : std::nullopt;
        }
        CChildProcess bare;
        const double bareLatency = StartBareWindow(bare, widget.cx, widget.cy);
        if (!latencies || bareLatency < 0) {
            rig.Note("run " + std::to_string(run) + " did not complete");
            return std::nullopt;
        }
        latencies->push_back(bareLatency);
        for (size_t i = 0; i < samples.size(); ++i) {
            samples[i].push_back((*latencies)[i]);
        }
    }
    std::vector<double> medians;
    for (const std::vector<double>& sample : samples) {
        medians.push_back(Median(sample));
    }
    return medians;
}

} // namespace bench
