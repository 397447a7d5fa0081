// Runs every registered benchmark, or those named on the command line, in name order; "--list" names them.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/pure/BenchRegistry.h"

int main(int argc, char** argv) {
    std::vector<BenchEntry> entries = BenchRegistry();
    std::sort(entries.begin(), entries.end(),
              [](const BenchEntry& a, const BenchEntry& b) { return std::strcmp(a.name, b.name) < 0; });
    const bool list = argc > 1 && std::strcmp(argv[1], "--list") == 0;
    for (int i = list ? argc : 1; i < argc; ++i) {
        if (std::none_of(entries.begin(), entries.end(),
                         [&](const BenchEntry& entry) { return std::strcmp(entry.name, argv[i]) == 0; })) {
            std::fprintf(stderr, "no benchmark named %s (--list names them)\n", argv[i]);
            return 2;
        }
    }
    for (const BenchEntry& entry : entries) {
        const bool named =
            std::any_of(argv + 1, argv + argc, [&](const char* arg) { return !std::strcmp(arg, entry.name); });
        if (list) {
            std::printf("%s\n", entry.name);
        } else if (argc == 1 || named) {
            entry.run();
        }
    }
    return 0;
}
