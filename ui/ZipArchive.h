#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A read-only zip archive held in memory: its central directory is read once, entries are extracted on
// demand. Stored and deflated entries only; encrypted, multi-disk and 64-bit archives are refused. Every
// size and offset comes from outside, so each one is checked against the bytes before it is used.
class CZipArchive {
public:
    // Largest entry this reader inflates: the dialog package holds small layouts, and a forged size must
    // not make it allocate without bound.
    static constexpr uint32_t kMaxEntrySize = 16u << 20;

    // Takes the archive's bytes; false (and no entries) when they hold no readable central directory.
    bool Open(std::vector<uint8_t> bytes);
    // The entry names, in directory order.
    std::vector<std::string> Names() const;
    // The named entry's content (UTF-8 name, exact match); false when it is missing, of an unsupported
    // method, or its data is damaged (bounds, inflate or checksum).
    bool Extract(std::string_view name, std::vector<uint8_t>& content) const;

private:
    struct Entry {
        std::string name;
        uint16_t method = 0;
        uint32_t crc = 0;
        uint32_t packedSize = 0;
        uint32_t size = 0;
        uint32_t localOffset = 0;
    };

    bool ReadDirectory();
    bool Unpack(const Entry& entry, std::vector<uint8_t>& content) const;

    std::vector<uint8_t> m_bytes;
    std::vector<Entry> m_entries;
};
