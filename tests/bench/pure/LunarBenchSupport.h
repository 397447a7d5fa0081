#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/pure/BenchRegistry.h"
#include "app/base/CivilDate.h"
#include "calendar/PackedDate.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

// What the lunar benchmarks share: the days they convert and the figures of the independent library
// (lunar-reference.js beside this file, run once per program under node; the build names its path, a Unix
// path that node, a Unix program also under Wine, reads).

// Every day of 1902-2099, the hour running round the clock from day to day, as lunar-reference.js takes them.
inline const std::vector<PackedDate>& LunarBenchDays() {
    static const std::vector<PackedDate> days = [] {
        std::vector<PackedDate> out;
        for (int n = DayNumber(1902, 1, 1); n <= DayNumber(2099, 12, 31); ++n) {
            const CivilDate date = DateFromDayNumber(n);
            out.push_back(MakePackedDate(date.year, date.month, date.day, static_cast<int>(out.size() % 24)));
        }
        return out;
    }();
    return days;
}

// Nanoseconds per day of the fastest of `passes` runs of `convert` over every day.
template <class Convert> double BestNsPerDay(int passes, Convert convert) {
    const std::vector<PackedDate>& days = LunarBenchDays();
    double best = 1e300;
    for (int pass = 0; pass < passes; ++pass) {
        const auto start = std::chrono::steady_clock::now();
        for (PackedDate day : days) {
            convert(day);
        }
        const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
        best = std::min(best, spent.count() / static_cast<double>(days.size()));
    }
    return best;
}

struct LunarReferenceFigures {
    long days;
    double infoNsPerDay;  // lunar date and the four pillars
    double textsNsPerDay; // lunar date text and eight-characters text
};

// Runs lunar-reference.js under node, which writes its figures to a file that appears once complete. Under
// Wine node is a Unix program: it starts from its Z: path, but its output reaches no Windows pipe and its
// process handle tells nothing, hence the file.
inline std::optional<LunarReferenceFigures> RunLunarReference() {
    const std::string command = std::string("node \"") + DESKLING_LUNAR_REFERENCE_SCRIPT + "\" ";
#ifdef _WIN32
    const std::string unixResult = "/tmp/deskling-lunar-reference-" + std::to_string(::GetCurrentProcessId());
    const std::string result = "Z:" + unixResult;
    std::wstring commandLine(command.begin(), command.end());
    commandLine += std::wstring(unixResult.begin(), unixResult.end());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") ||
        !::CreateProcessW(L"Z:\\usr\\bin\\node", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return std::nullopt;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
#else
    const std::string result = "/tmp/deskling-lunar-reference-" + std::to_string(::getpid());
    if (std::system((command + result).c_str()) != 0) {
        return std::nullopt;
    }
#endif
    for (int waited = 0; waited < 3000; ++waited) {
        if (FILE* file = std::fopen(result.c_str(), "r")) {
            LunarReferenceFigures figures{};
            const int read = std::fscanf(file, "days %ld info %lf texts %lf", &figures.days, &figures.infoNsPerDay,
                                         &figures.textsNsPerDay);
            std::fclose(file);
            std::remove(result.c_str());
            if (read != 3 || figures.days != static_cast<long>(LunarBenchDays().size())) {
                return std::nullopt;
            }
            return figures;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::nullopt;
}

// Our figure, the reference library's for the same days and their ratio.
inline void ReportAgainstReference(const char* bench, const char* what, double ns,
                                   double LunarReferenceFigures::*referenceFigure) {
    BenchFigure(bench, what, ns, "ns/day");
    static const std::optional<LunarReferenceFigures> reference = RunLunarReference();
    if (!reference) {
        BenchNote(bench, "reference library not measured (needs node and tools/gen-lunar-data's install)");
        return;
    }
    BenchFigure(bench, "reference library, same days", (*reference).*referenceFigure, "ns/day");
    BenchFigure(bench, "reference / ours", (*reference).*referenceFigure / ns, "x");
}
