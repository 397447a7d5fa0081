#pragma once

// What a benchmark reads of another running process. Wine runs each Windows process as one Unix process, whose
// figures the Windows calls for other processes leave at zero: CPU, wake-ups and memory are read from /proc,
// which drive Z: reaches, and the GDI objects from the handle table Wine keeps inside the process.

#include "e2e/E2eHarness.h"

#include <winternl.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace bench {

using namespace e2e;

// User plus system time: the 12th and 13th fields after the parenthesised name, in ticks of 1/100 s.
inline double CpuSeconds(const std::wstring& folder) {
    const std::string stat = ReadUnixFile(folder + L"\\stat");
    std::istringstream fields(stat.substr(std::min(stat.size(), stat.rfind(')') + 1)));
    std::string field;
    double ticks = 0;
    for (int i = 1; i <= 13 && fields >> field; ++i) {
        ticks += i >= 12 ? std::atof(field.c_str()) : 0;
    }
    return ticks / 100.0;
}

// Wake-ups so far, thread by thread (by thread id): the voluntary context switches, each a sleep that ended. The
// listing also holds "." and "..", and "task\..\status" is the first thread's own: only thread ids count.
using ThreadWakeUps = std::map<std::wstring, double>;
inline ThreadWakeUps WakeUps(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    CFindHandle find(::FindFirstFileW((folder + L"\\task\\*").c_str(), &entry));
    ThreadWakeUps threads;
    for (bool more = static_cast<bool>(find); more; more = ::FindNextFileW(find.Get(), &entry)) {
        if (entry.cFileName[0] == L'.') {
            continue;
        }
        std::istringstream lines(ReadUnixFile(folder + L"\\task\\" + entry.cFileName + L"\\status"));
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) {
                threads[entry.cFileName] = std::atof(line.c_str() + line.find(':') + 1);
            }
        }
    }
    return threads;
}

// Wake-ups since `before`: of the threads still running, and all of those started since. A thread that ended
// takes its count with it, so a process's total could fall; its wake-ups after `before` are not seen.
inline double WakeUpsSince(const ThreadWakeUps& before, const std::wstring& folder) {
    double woke = 0;
    for (const auto& [thread, count] : WakeUps(folder)) {
        const auto earlier = before.find(thread);
        woke += count - (earlier == before.end() ? 0 : earlier->second);
    }
    return woke;
}

// Memory no other process shares: the private clean and dirty pages.
inline double PrivateMegabytes(const std::wstring& folder) {
    std::istringstream lines(ReadUnixFile(folder + L"\\smaps_rollup"));
    double kilobytes = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Private_Clean:", 0) == 0 || line.rfind("Private_Dirty:", 0) == 0) {
            kilobytes += std::atof(line.c_str() + line.find(':') + 1);
        }
    }
    return kilobytes / 1024.0;
}

// The GDI objects a process holds, -1 when they cannot be read. Where GetGuiResources answers 0 for another
// process (Wine), the process's own handle table is read: Wine names it in the PEB and frees an entry by
// clearing its type byte. Stock objects count too; they are the same in every reading.
inline int GdiObjects(DWORD processId) {
    CKernelHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) {
        return -1;
    }
    if (const DWORD counted = ::GetGuiResources(process.Get(), GR_GDIOBJECTS)) {
        return static_cast<int>(counted);
    }
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(process.Get(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) {
        return -1;
    }
    // PEB.GdiSharedHandleTable; entries of 24 bytes, 0x10000 of them, the type byte at offset 14.
    constexpr size_t kTableField = sizeof(void*) == 8 ? 0xF8 : 0x94;
    constexpr size_t kEntryBytes = 24, kEntries = 0x10000, kTypeByte = 14;
    void* table = nullptr;
    if (!::ReadProcessMemory(process.Get(),
                             static_cast<const char*>(static_cast<void*>(basic.PebBaseAddress)) + kTableField, &table,
                             sizeof(table), nullptr) ||
        !table) {
        return -1;
    }
    std::vector<unsigned char> entries(kEntryBytes * kEntries);
    if (!::ReadProcessMemory(process.Get(), table, entries.data(), entries.size(), nullptr)) {
        return -1;
    }
    int used = 0;
    for (size_t at = kTypeByte; at < entries.size(); at += kEntryBytes) {
        used += entries[at] != 0 ? 1 : 0;
    }
    return used;
}

// CPU seconds per minute and wake-ups per second of one process over an interval.
struct IdleCost {
    double cpuPerMinute = 0;
    double wakeUpsPerSecond = 0;
};

// Of each process, over the same `seconds`, one at a time; `everySecond`, when given, runs at the start of each
// (the processes' surroundings changing as they would).
inline std::vector<IdleCost> MeasureIdleTogether(const std::vector<std::wstring>& folders, DWORD seconds,
                                                 const std::function<void(DWORD)>& everySecond = {}) {
    std::vector<double> cpu;
    std::vector<ThreadWakeUps> woke;
    for (const std::wstring& folder : folders) {
        cpu.push_back(CpuSeconds(folder));
        woke.push_back(WakeUps(folder));
    }
    for (DWORD second = 0; second < seconds; ++second) {
        if (everySecond) {
            everySecond(second);
        }
        ::Sleep(1000);
    }
    std::vector<IdleCost> costs;
    for (size_t i = 0; i < folders.size(); ++i) {
        costs.push_back(
            IdleCost{(CpuSeconds(folders[i]) - cpu[i]) * 60.0 / seconds, WakeUpsSince(woke[i], folders[i]) / seconds});
    }
    return costs;
}

inline IdleCost MeasureIdle(const std::wstring& folder, DWORD seconds,
                            const std::function<void(DWORD)>& everySecond = {}) {
    return MeasureIdleTogether({folder}, seconds, everySecond).front();
}

} // namespace bench
