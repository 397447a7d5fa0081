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
    if (argc > 1 && std::strcmp(argv[1], "--list") == 0) {
        for (const BenchEntry& entry : entries) {
            std::printf("%s\n", entry.name);
        }
        return 0;
    }
    std::vector<const BenchEntry*> chosen;
    for (int i = 1; i < argc; ++i) {
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const BenchEntry& entry) { return std::strcmp(entry.name, argv[i]) == 0; });
        if (found == entries.end()) {
            std::fprintf(stderr, "no benchmark named %s (--list names them)\n", argv[i]);
            return 2;
        }
        chosen.push_back(&*found);
    }
    if (chosen.empty()) {
        for (const BenchEntry& entry : entries) {
            chosen.push_back(&entry);
        }
    }
    for (const BenchEntry* entry : chosen) {
        entry->run();
    }
    return 0;
}
