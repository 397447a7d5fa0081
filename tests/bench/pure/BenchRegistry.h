#pragma once

#include <cstdio>
#include <vector>

// The benchmark program's registry. Each bench file defines its benchmarks with DESKLING_BENCH(Name) { ... };
// a benchmark measures and prints its figures, one line each, with BenchFigure.

struct BenchEntry {
    const char* name;
    void (*run)();
};

inline std::vector<BenchEntry>& BenchRegistry() {
    static std::vector<BenchEntry> entries;
    return entries;
}

inline bool RegisterBench(const char* name, void (*run)()) {
    BenchRegistry().push_back({name, run});
    return true;
}

// One figure: "<bench>: <what> <value> <unit>".
inline void BenchFigure(const char* bench, const char* what, double value, const char* unit) {
    std::printf("%s: %s %.2f %s\n", bench, what, value, unit);
    std::fflush(stdout);
}

// A line of its own for what a benchmark could not measure.
inline void BenchNote(const char* bench, const char* note) {
    std::printf("%s: %s\n", bench, note);
    std::fflush(stdout);
}

#define DESKLING_BENCH(name)                                                                                           \
    static void name();                                                                                                \
    [[maybe_unused]] static const bool name##Registered = RegisterBench(#name, &name);                                 \
    static void name()
