#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A part of a file, in bytes.
struct ByteRange {
    size_t offset = 0;
    size_t size = 0;
};

enum class EPeStatus { Valid, NotPe, BadCertificateTable };

// The parts of a PE file that Authenticode signing touches: the header checksum, the security
// entry of the data directory and the certificate table at the end of the file.
class CPeImage {
public:
    EPeStatus Parse(std::span<const uint8_t> file);

    bool IsSigned() const { return m_certTable.size != 0; }
    // What the file digest covers: everything before the certificate table except the checksum
    // and the security entry. Nothing may follow the certificate table, so bytes appended after
    // signing always change the verdict. Empty unless Parse returned Valid.
    std::vector<ByteRange> DigestRanges() const;
    // The PKCS#7 signed data of the first certificate entry; empty when the file is unsigned.
    std::span<const uint8_t> SignedData() const { return m_signedData; }

private:
    EPeStatus ParseHeaders(std::span<const uint8_t> file);

    bool m_valid = false;
    size_t m_fileSize = 0;
    size_t m_checksumOffset = 0;
    size_t m_securityEntryOffset = 0;
    ByteRange m_certTable;
    std::span<const uint8_t> m_signedData;
};
