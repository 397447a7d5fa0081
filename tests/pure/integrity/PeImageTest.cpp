#include "integrity/PeImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kPeOffset = 0x40;
constexpr size_t kOptionalOffset = kPeOffset + 4 + 20;
constexpr size_t kChecksumOffset = kOptionalOffset + 64;

// Writes the low `size` bytes of v at `at`, little-endian.
void Put(Bytes& b, size_t at, uint32_t v, int size) {
    for (int i = 0; i < size; ++i) {
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

// Where the security entry of the data directory sits (the fifth entry of eight bytes).
size_t SecurityEntry(bool plus) {
    return kOptionalOffset + (plus ? 112 : 96) + 4 * 8;
}

// A header-only PE file: DOS header, signature, file header and an optional header with all
// sixteen directory entries, followed by some body bytes.
Bytes MakeImage(bool plus, size_t size = 0x400) {
    Bytes b(size, 0xCC);
    std::memset(b.data(), 0, 0x200);
    b[0] = 'M';
    b[1] = 'Z';
    Put(b, 0x3C, kPeOffset, 4);
    Put(b, kPeOffset, 0x00004550, 4);
    Put(b, kPeOffset + 4 + 16, plus ? 240 : 224, 2);
    Put(b, kOptionalOffset, plus ? 0x20B : 0x10B, 2);
    Put(b, kOptionalOffset + (plus ? 108 : 92), 16, 4);
    return b;
}

// Appends a certificate table with one entry around the payload and points the security entry
// at it, as a signing tool does.
Bytes Sign(Bytes b, const Bytes& payload, bool plus) {
    b.resize((b.size() + 7) / 8 * 8, 0);
    const size_t table = b.size();
    const size_t length = 8 + payload.size();
    const size_t padded = (length + 7) / 8 * 8;
    b.resize(table + padded, 0);
    Put(b, table, static_cast<uint32_t>(length), 4);
    Put(b, table + 4, 0x0200, 2); // revision 2
    Put(b, table + 6, 0x0002, 2); // PKCS#7 signed data
    std::memcpy(b.data() + table + 8, payload.data(), payload.size());
    Put(b, SecurityEntry(plus), static_cast<uint32_t>(table), 4);
    Put(b, SecurityEntry(plus) + 4, static_cast<uint32_t>(padded), 4);
    return b;
}

} // namespace

// The digest leaves out the checksum, the security entry and, when signed, the certificate table.
TEST(PeImageTest, DigestRangesSkipChecksumSecurityEntryAndTable) {
    const Bytes payload = {0x30, 0x03, 0x02, 0x01, 0x07};
    for (const bool plus : {false, true}) {
        for (const bool isSigned : {false, true}) {
            SCOPED_TRACE(testing::Message() << "plus " << plus << " signed " << isSigned);
            const Bytes image = isSigned ? Sign(MakeImage(plus, 0x3FD), payload, plus) : MakeImage(plus, 0x3FD);
            CPeImage pe;
            ASSERT_EQ(pe.Parse(image), EPeStatus::Valid);
            EXPECT_EQ(pe.IsSigned(), isSigned);
            EXPECT_TRUE(std::equal(pe.SignedData().begin(), pe.SignedData().end(), payload.begin(),
                                   isSigned ? payload.end() : payload.begin()));
            const auto ranges = pe.DigestRanges();
            ASSERT_EQ(ranges.size(), 3u);
            EXPECT_EQ(ranges[0].offset, 0u);
            EXPECT_EQ(ranges[0].size, kChecksumOffset);
            EXPECT_EQ(ranges[1].offset, kChecksumOffset + 4);
            EXPECT_EQ(ranges[1].offset + ranges[1].size, SecurityEntry(plus));
            EXPECT_EQ(ranges[2].offset, SecurityEntry(plus) + 8);
            EXPECT_EQ(ranges[2].offset + ranges[2].size, isSigned ? 0x400u : image.size());
        }
    }
    Bytes fewDirectories = Sign(MakeImage(true), payload, true);
    Put(fewDirectories, kOptionalOffset + 108, 4, 4);
    CPeImage pe;
    ASSERT_EQ(pe.Parse(fewDirectories), EPeStatus::Valid);
    EXPECT_FALSE(pe.IsSigned()) << "fewer than five directories have no security entry";
}

TEST(PeImageTest, RejectsWhatIsNoPeFileAndTablesSigningToolsDoNotMake) {
    const Bytes payload(20, 0x42);
    const auto image = [&](auto change) {
        Bytes b = Sign(MakeImage(true), payload, true);
        change(b);
        return b;
    };
    const struct {
        Bytes bytes;
        EPeStatus status;
    } rows[] = {
        {image([](Bytes& b) { b[0] = 'N'; }), EPeStatus::NotPe},
        {image([](Bytes& b) { Put(b, 0x3C, 0x7FFFFFF0, 4); }), EPeStatus::NotPe},
        {image([](Bytes& b) { b[kPeOffset] = 'N'; }), EPeStatus::NotPe},
        {image([](Bytes& b) { Put(b, kOptionalOffset, 0x107, 2); }), EPeStatus::NotPe},
        {image([](Bytes& b) { Put(b, kPeOffset + 4 + 16, 112, 2); }), EPeStatus::NotPe},
        {Bytes(0x3F, 0), EPeStatus::NotPe},
        {image([](Bytes& b) { b.insert(b.end(), 8, 0); }), EPeStatus::BadCertificateTable},
        {image([](Bytes& b) { Put(b, SecurityEntry(true), 0x404, 4); }), EPeStatus::BadCertificateTable},
        {image([](Bytes& b) {
             Put(b, SecurityEntry(true), 0x40, 4);
             Put(b, SecurityEntry(true) + 4, static_cast<uint32_t>(b.size() - 0x40), 4);
         }),
         EPeStatus::BadCertificateTable},
        {image([](Bytes& b) { Put(b, 0x400, 0x1000, 4); }), EPeStatus::BadCertificateTable},
        {image([](Bytes& b) { Put(b, 0x400, 8, 4); }), EPeStatus::BadCertificateTable},
        {image([](Bytes& b) { Put(b, 0x404, 0x0100, 2); }), EPeStatus::BadCertificateTable},
        {image([](Bytes& b) { Put(b, 0x406, 0x0001, 2); }), EPeStatus::BadCertificateTable},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        CPeImage pe;
        EXPECT_EQ(pe.Parse(rows[i].bytes), rows[i].status) << i;
        EXPECT_TRUE(pe.SignedData().empty()) << i;
        EXPECT_TRUE(pe.DigestRanges().empty()) << i;
    }
}

TEST(PeImageTest, EveryTruncationOfASignedImageIsRejected) {
    const Bytes image = Sign(MakeImage(false), Bytes(40, 0x30), false);
    for (size_t size = 0; size < image.size(); ++size) {
        CPeImage pe;
        const EPeStatus status = pe.Parse(std::span<const uint8_t>(image).first(size));
        EXPECT_EQ(status, size < SecurityEntry(false) + 8 ? EPeStatus::NotPe : EPeStatus::BadCertificateTable) << size;
        EXPECT_TRUE(pe.DigestRanges().empty()) << size;
    }
}
