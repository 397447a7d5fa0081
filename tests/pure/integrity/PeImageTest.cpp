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

void Put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
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
    Put32(b, 0x3C, kPeOffset);
    Put32(b, kPeOffset, 0x00004550);
    Put16(b, kPeOffset + 4 + 16, plus ? 240 : 224);
    Put16(b, kOptionalOffset, plus ? 0x20B : 0x10B);
    Put32(b, kOptionalOffset + (plus ? 108 : 92), 16);
    return b;
}

// Appends a certificate table with one entry around the payload and points the security entry
// at it, as a signing tool does.
Bytes Sign(Bytes b, const Bytes& payload, bool plus, uint16_t revision = 0x0200, uint16_t type = 0x0002) {
    b.resize((b.size() + 7) / 8 * 8, 0);
    const size_t table = b.size();
    const size_t length = 8 + payload.size();
    const size_t padded = (length + 7) / 8 * 8;
    b.resize(table + padded, 0);
    Put32(b, table, static_cast<uint32_t>(length));
    Put16(b, table + 4, revision);
    Put16(b, table + 6, type);
    std::memcpy(b.data() + table + 8, payload.data(), payload.size());
    Put32(b, SecurityEntry(plus), static_cast<uint32_t>(table));
    Put32(b, SecurityEntry(plus) + 4, static_cast<uint32_t>(padded));
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
    Put32(fewDirectories, kOptionalOffset + 108, 4);
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
        {image([](Bytes& b) { Put32(b, 0x3C, 0x7FFFFFF0); }), EPeStatus::NotPe},
        {image([](Bytes& b) { b[kPeOffset] = 'N'; }), EPeStatus::NotPe},
        {image([](Bytes& b) { Put16(b, kOptionalOffset, 0x107); }), EPeStatus::NotPe},
        {image([](Bytes& b) { Put16(b, kPeOffset + 4 + 16, 112); }), EPeStatus::NotPe},
        {Bytes(0x3F, 0), EPeStatus::NotPe},
        {image([](Bytes& b) { b.insert(b.end(), 8, 0); }), EPeStatus::BadCertificateTable},
        {image([](Bytes& b) { Put32(b, SecurityEntry(true), 0x404); }), EPeStatus::BadCertificateTable},
        {image([](Bytes& b) {
             Put32(b, SecurityEntry(true), 0x40);
             Put32(b, SecurityEntry(true) + 4, static_cast<uint32_t>(b.size() - 0x40));
         }),
         EPeStatus::BadCertificateTable},
        {image([](Bytes& b) { Put32(b, 0x400, 0x1000); }), EPeStatus::BadCertificateTable},
        {image([](Bytes& b) { Put32(b, 0x400, 8); }), EPeStatus::BadCertificateTable},
        {image([](Bytes& b) { Put16(b, 0x404, 0x0100); }), EPeStatus::BadCertificateTable},
        {image([](Bytes& b) { Put16(b, 0x406, 0x0001); }), EPeStatus::BadCertificateTable},
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
