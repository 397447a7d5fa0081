#include "integrity/PeImage.h"

namespace {

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr size_t kFileHeaderSize = 20;
constexpr size_t kSecurityDirectory = 4;
constexpr uint16_t kCertificateRevision2 = 0x0200;
constexpr uint16_t kCertificateTypePkcsSignedData = 0x0002;
constexpr size_t kCertificateHeaderSize = 8;

uint16_t Read16(std::span<const uint8_t> data, size_t offset) {
    return static_cast<uint16_t>(data[offset] | data[offset + 1] << 8);
}

uint32_t Read32(std::span<const uint8_t> data, size_t offset) {
    return static_cast<uint32_t>(data[offset]) | static_cast<uint32_t>(data[offset + 1]) << 8 |
           static_cast<uint32_t>(data[offset + 2]) << 16 | static_cast<uint32_t>(data[offset + 3]) << 24;
}

} // namespace

EPeStatus CPeImage::Parse(std::span<const uint8_t> file) {
    *this = CPeImage();
    const EPeStatus status = ParseHeaders(file);
    m_valid = status == EPeStatus::Valid;
    return status;
}

EPeStatus CPeImage::ParseHeaders(std::span<const uint8_t> file) {
    m_fileSize = file.size();
    if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') {
        return EPeStatus::NotPe;
    }
    const size_t pe = Read32(file, 0x3C);
    if (pe > file.size() || file.size() - pe < 4 + kFileHeaderSize + 2 || Read32(file, pe) != 0x00004550) {
        return EPeStatus::NotPe;
    }
    const size_t optional = pe + 4 + kFileHeaderSize;
    const size_t optionalSize = Read16(file, pe + 4 + 16);
    const uint16_t magic = Read16(file, optional);
    if (magic != kPe32Magic && magic != kPe32PlusMagic) {
        return EPeStatus::NotPe;
    }
    // Offsets inside the optional header differ between PE32 and PE32+ only in the data directory.
    const size_t directoryCountOffset = magic == kPe32PlusMagic ? 108 : 92;
    const size_t directoryOffset = directoryCountOffset + 4;
    const size_t securityEntry = directoryOffset + kSecurityDirectory * 8;
    if (optionalSize < securityEntry + 8 || file.size() - optional < securityEntry + 8) {
        return EPeStatus::NotPe;
    }
    m_checksumOffset = optional + 64;
    m_securityEntryOffset = optional + securityEntry;
    if (Read32(file, optional + directoryCountOffset) <= kSecurityDirectory) {
        return EPeStatus::Valid;
    }
    const size_t tableOffset = Read32(file, m_securityEntryOffset);
    const size_t tableSize = Read32(file, m_securityEntryOffset + 4);
    if (tableOffset == 0 && tableSize == 0) {
        return EPeStatus::Valid;
    }
    // The table holds a file offset (not an address), is quadword aligned and ends the file.
    if (tableOffset < m_securityEntryOffset + 8 || tableOffset % 8 != 0 || tableOffset > file.size() ||
        file.size() - tableOffset != tableSize || tableSize < kCertificateHeaderSize) {
        return EPeStatus::BadCertificateTable;
    }
    const size_t entryLength = Read32(file, tableOffset);
    if (entryLength <= kCertificateHeaderSize || entryLength > tableSize ||
        Read16(file, tableOffset + 4) != kCertificateRevision2 ||
        Read16(file, tableOffset + 6) != kCertificateTypePkcsSignedData) {
        return EPeStatus::BadCertificateTable;
    }
    m_certTable = {tableOffset, tableSize};
    m_signedData = file.subspan(tableOffset + kCertificateHeaderSize, entryLength - kCertificateHeaderSize);
    return EPeStatus::Valid;
}

std::vector<ByteRange> CPeImage::DigestRanges() const {
    if (!m_valid) {
        return {};
    }
    const size_t end = IsSigned() ? m_certTable.offset : m_fileSize;
    return {
        {0, m_checksumOffset},
        {m_checksumOffset + 4, m_securityEntryOffset - m_checksumOffset - 4},
        {m_securityEntryOffset + 8, end - m_securityEntryOffset - 8},
    };
}
