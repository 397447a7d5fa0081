// The package reader over arbitrary bytes: opening and extracting every listed entry must neither crash nor
// read out of bounds; a refused entry comes back empty, and an extracted one within the size bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ui/ZipArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CZipArchive zip;
    if (!zip.Open(std::vector<uint8_t>(data, data + size))) {
        if (!zip.Names().empty()) {
            std::abort();
        }
        return 0;
    }
    for (const std::string& name : zip.Names()) {
        std::vector<uint8_t> content(1, 0);
        const bool ok = zip.Extract(name, content);
        if ((!ok && !content.empty()) || content.size() > CZipArchive::kMaxEntrySize) {
            std::abort();
        }
    }
    return 0;
}
