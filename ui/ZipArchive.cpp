#include "ui/ZipArchive.h"

#include <zlib.h>

#include <algorithm>
#include <utility>

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;
constexpr size_t kMaxCommentSize = 0xFFFF;
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kEncryptedFlag = 0x0001;

// Little-endian fields at an offset the caller has checked.
uint16_t Read16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(Read16(bytes, at)) | static_cast<uint32_t>(Read16(bytes, at + 2)) << 16;
}

bool Fits(size_t offset, size_t length, size_t total) {
    return offset <= total && length <= total - offset;
}

} // namespace

bool CZipArchive::Open(std::vector<uint8_t> bytes) {
    m_bytes = std::move(bytes);
    m_entries.clear();
    if (!ReadDirectory()) {
        m_entries.clear();
        m_bytes.clear();
        return false;
    }
    return true;
}

bool CZipArchive::ReadDirectory() {
    if (m_bytes.size() < kEndSize) {
        return false;
    }
    // The end record is the last one: it may be followed only by its own comment, so search backwards.
    const size_t last = m_bytes.size() - kEndSize;
    const size_t first = last > kMaxCommentSize ? last - kMaxCommentSize : 0;
    size_t end = last + 1;
    for (size_t at = last + 1; at-- > first;) {
        if (Read32(m_bytes, at) == kEndSignature && at + kEndSize + Read16(m_bytes, at + 20) == m_bytes.size()) {
            end = at;
            break;
        }
    }
    if (end > last) {
        return false;
    }
    const uint16_t disk = Read16(m_bytes, end + 4);
    const uint16_t directoryDisk = Read16(m_bytes, end + 6);
    const uint16_t count = Read16(m_bytes, end + 10);
    const uint32_t directorySize = Read32(m_bytes, end + 12);
    const uint32_t directoryOffset = Read32(m_bytes, end + 16);
    if (disk != 0 || directoryDisk != 0 || count != Read16(m_bytes, end + 8) ||
        !Fits(directoryOffset, directorySize, end)) {
        return false;
    }
    size_t at = directoryOffset;
    const size_t directoryEnd = static_cast<size_t>(directoryOffset) + directorySize;
    for (uint16_t i = 0; i < count; ++i) {
        if (!Fits(at, kCentralSize, directoryEnd) || Read32(m_bytes, at) != kCentralSignature) {
            return false;
        }
        const size_t nameLength = Read16(m_bytes, at + 28);
        const size_t variable = nameLength + Read16(m_bytes, at + 30) + Read16(m_bytes, at + 32);
        if (!Fits(at + kCentralSize, variable, directoryEnd)) {
            return false;
        }
        Entry entry;
        const uint16_t flags = Read16(m_bytes, at + 8);
        entry.method = (flags & kEncryptedFlag) ? 0xFFFF : Read16(m_bytes, at + 10);
        entry.crc = Read32(m_bytes, at + 16);
        entry.packedSize = Read32(m_bytes, at + 20);
        entry.size = Read32(m_bytes, at + 24);
        entry.localOffset = Read32(m_bytes, at + 42);
        const auto name = m_bytes.begin() + static_cast<std::ptrdiff_t>(at + kCentralSize);
        entry.name.assign(name, name + static_cast<std::ptrdiff_t>(nameLength));
        m_entries.push_back(std::move(entry));
        at += kCentralSize + variable;
    }
    return true;
}

std::vector<std::string> CZipArchive::Names() const {
    std::vector<std::string> names;
    for (const Entry& entry : m_entries) {
        names.push_back(entry.name);
    }
    return names;
}

bool CZipArchive::Extract(std::string_view name, std::vector<uint8_t>& content) const {
    content.clear();
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.name == name; });
    if (entry == m_entries.end() || !Unpack(*entry, content)) {
        content.clear();
        return false;
    }
    return true;
}

bool CZipArchive::Unpack(const Entry& entry, std::vector<uint8_t>& content) const {
    if ((entry.method != kStored && entry.method != kDeflated) || entry.size > kMaxEntrySize ||
        !Fits(entry.localOffset, kLocalSize, m_bytes.size()) || Read32(m_bytes, entry.localOffset) != kLocalSignature) {
        return false;
    }
    // The local header repeats the name and may carry an extra field of another length than the directory's.
    const size_t data = entry.localOffset + kLocalSize + Read16(m_bytes, entry.localOffset + 26) +
                        Read16(m_bytes, entry.localOffset + 28);
    if (!Fits(data, entry.packedSize, m_bytes.size())) {
        return false;
    }
    const uint8_t* packed = m_bytes.data() + data;
    if (entry.method == kStored) {
        if (entry.packedSize != entry.size) {
            return false;
        }
        content.assign(packed, packed + entry.size);
    } else {
        content.resize(entry.size);
        z_stream stream{};
        // Negative window bits: raw deflate data, as zip stores it, without a zlib header.
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
            return false;
        }
        stream.next_in = const_cast<Bytef*>(packed);
        stream.avail_in = entry.packedSize;
        // A one-byte scratch output for an empty entry: zlib wants somewhere to write.
        uint8_t none = 0;
        stream.next_out = entry.size ? content.data() : &none;
        stream.avail_out = entry.size;
        const int result = inflate(&stream, Z_FINISH);
        const bool whole = result == Z_STREAM_END && stream.total_out == entry.size;
        inflateEnd(&stream);
        if (!whole) {
            return false;
        }
    }
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), content.data(), static_cast<uInt>(content.size()));
    return crc == entry.crc;
}
