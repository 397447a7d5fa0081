#include "integrity/AuthenticodeSignedData.h"

#include "pure/integrity/DerBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string kSha256 = "2.16.840.1.101.3.4.2.1";
const std::string kSha1 = "1.3.14.3.2.26";
const std::string kMessageDigest = "1.2.840.113549.1.9.4";
const std::string kContentType = "1.2.840.113549.1.9.3";
const std::string kSpcIndirectData = "1.3.6.1.4.1.311.2.1.4";

Bytes Algorithm(const std::string& oid) {
    return Seq({Oid(oid), Null()});
}

Bytes Attribute(const std::string& oid, const Bytes& value) {
    return Seq({Oid(oid), Set({value})});
}

// What a signing tool writes, with every part replaceable by a test.
struct SignedDataParts {
    std::string contentType = kSpcIndirectData;
    std::string fileDigestOid = kSha256;
    Bytes fileDigest = Octets(32, 0x11);
    std::string signerDigestOid = kSha256;
    Bytes attributes =
        Cat({Attribute(kContentType, Oid(kSpcIndirectData)), Attribute(kMessageDigest, Octets(32, 0x22))});
    bool withAttributes = true;
    int signers = 1;

    Bytes IndirectDataValue() const {
        return Cat({Seq({Oid("1.3.6.1.4.1.311.2.1.15"), Seq({})}), Seq({Algorithm(fileDigestOid), fileDigest})});
    }

    Bytes Build() const {
        const Bytes signer = Seq({Int(1), Seq({Seq({}), Int(5)}), Algorithm(signerDigestOid),
                                  withAttributes ? Tlv(0xA0, attributes) : Bytes(), Algorithm("1.2.840.113549.1.1.1"),
                                  Octets(16, 0x33)});
        Bytes signerInfos;
        for (int i = 0; i < signers; ++i) {
            signerInfos.insert(signerInfos.end(), signer.begin(), signer.end());
        }
        const Bytes certificates = Ctx0({Seq({Seq({Int(1)})})});
        const Bytes inner = Seq({Oid(contentType), Ctx0({Tlv(0x30, IndirectDataValue())})});
        const Bytes signedData = Seq({Int(1), Set({Algorithm(kSha256)}), inner, certificates, Tlv(0x31, signerInfos)});
        return Seq({Oid("1.2.840.113549.1.7.2"), Ctx0({signedData})});
    }
};

bool Equal(std::span<const uint8_t> a, const Bytes& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

} // namespace

TEST(AuthenticodeSignedDataTest, ReadsDigestsAndSignatureWhateverTheDigestAlgorithms) {
    // The parsed parts point into the data, which must outlive them.
    SignedDataParts parts;
    const Bytes sha256 = parts.Build();
    CAuthenticodeSignedData parsed;
    ASSERT_TRUE(parsed.Parse(sha256));
    EXPECT_EQ(parsed.FileDigestAlgorithm(), EDigestAlgorithm::Sha256);
    EXPECT_TRUE(Equal(parsed.FileDigest(), Bytes(32, 0x11)));
    EXPECT_TRUE(Equal(parsed.IndirectDataContent(), parts.IndirectDataValue()));
    EXPECT_EQ(parsed.SignerDigestAlgorithm(), EDigestAlgorithm::Sha256);
    EXPECT_TRUE(Equal(parsed.MessageDigest(), Bytes(32, 0x22)));
    EXPECT_TRUE(Equal(parsed.SignatureValue(), Bytes(16, 0x33)));

    parts.fileDigestOid = kSha1;
    parts.fileDigest = Octets(20, 0x11);
    parts.signerDigestOid = "2.16.840.1.101.3.4.2.3";
    parts.attributes = Attribute(kMessageDigest, Octets(64, 0x22));
    const Bytes mixed = parts.Build();
    ASSERT_TRUE(parsed.Parse(mixed));
    EXPECT_EQ(parsed.FileDigestAlgorithm(), EDigestAlgorithm::Sha1);
    EXPECT_EQ(parsed.SignerDigestAlgorithm(), EDigestAlgorithm::Sha512);
    EXPECT_EQ(parsed.MessageDigest().size(), 64u);
}

TEST(AuthenticodeSignedDataTest, RejectsSignaturesThatAreNotOneSignerOverOneFileDigest) {
    std::vector<SignedDataParts> bad(9);
    bad[0].contentType = "1.2.840.113549.1.7.1";
    bad[1].fileDigestOid = "1.2.840.113549.2.5";
    bad[1].fileDigest = Octets(16, 0x11);
    bad[2].fileDigest = Octets(20, 0x11);
    bad[3].signers = 2;
    bad[4].signers = 0;
    bad[5].withAttributes = false;
    bad[6].attributes = Attribute(kContentType, Oid(kSpcIndirectData));
    bad[7].attributes = Cat({Attribute(kMessageDigest, Octets(32, 1)), Attribute(kMessageDigest, Octets(32, 2))});
    bad[8].attributes = Attribute(kMessageDigest, Octets(20, 0x22));
    for (size_t i = 0; i < bad.size(); ++i) {
        CAuthenticodeSignedData parsed;
        EXPECT_FALSE(parsed.Parse(bad[i].Build())) << i;
    }
}

TEST(AuthenticodeSignedDataTest, AcceptsOnlyZeroPaddingUpToEightBytesAndNoTruncation) {
    const Bytes data = SignedDataParts().Build();
    CAuthenticodeSignedData parsed;
    EXPECT_TRUE(parsed.Parse(Cat({data, Bytes(7, 0)})));
    EXPECT_FALSE(parsed.Parse(Cat({data, Bytes(8, 0)})));
    EXPECT_FALSE(parsed.Parse(Cat({data, Bytes{0, 0, 1}})));
    for (size_t size = 0; size < data.size(); ++size) {
        EXPECT_FALSE(CAuthenticodeSignedData().Parse(std::span<const uint8_t>(data).first(size))) << size;
    }
}
