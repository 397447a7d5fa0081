#include "integrity/DerReader.h"

#include "pure/integrity/DerBuilder.h"

#include <gtest/gtest.h>

TEST(DerReaderTest, RejectsWhatDerDoesNotAllowOrTheDataDoesNotHold) {
    const std::vector<Bytes> bad = {
        {0x30, 0x80, 0x00, 0x00},       // indefinite length
        {0x1F, 0x22, 0x01, 0x00},       // multi-byte tag
        {0x04, 0x05, 1, 2, 3},          // longer than the data
        {0x04, 0x82, 0x01},             // length bytes cut off
        {0x04, 0x85, 0, 0, 0, 0, 1, 0}, // five length bytes
        {0x04},                         // no length at all
    };
    for (const Bytes& data : bad) {
        CDerReader reader(data);
        DerElement e;
        EXPECT_FALSE(reader.Next(e)) << static_cast<int>(data[0]);
        EXPECT_TRUE(reader.Failed());
    }
}

TEST(DerReaderTest, OidTextDecodesEveryArcAndRejectsMalformedContents) {
    for (const char* dotted : {"1.2.840.113549.1.9.4", "0.9", "2.999.1", "1.2.18446744073709551615"}) {
        const Bytes encoded = Oid(dotted);
        EXPECT_EQ(DerOidText(std::span<const uint8_t>(encoded).subspan(2)), dotted);
    }
    const Bytes unfinished = {0x2A, 0x86};
    const Bytes tooLarge = {0x2A, 0x82, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x00};
    for (const Bytes& bad : {Bytes{}, unfinished, tooLarge}) {
        EXPECT_EQ(DerOidText(bad), "") << bad.size();
    }
}
