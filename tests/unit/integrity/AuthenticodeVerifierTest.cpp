#include "integrity/AuthenticodeVerifier.h"

#include "integrity/AuthenticodeSignedData.h"
#include "integrity/Digest.h"
#include "integrity/PeImage.h"
#include "unit/app/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

ETrustVerdict Verify(const wchar_t* fixture) {
    return CAuthenticodeVerifier::ForPublisher().VerifyFile(FixturePath(fixture).c_str());
}

// The signed sample, read and parsed, for tests that change parts of it in place.
class SignedSampleTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string bytes = CScratchFolder::ReadFileText(FixturePath(L"sample-signed.dll"));
        m_image.assign(bytes.begin(), bytes.end());
        ASSERT_EQ(m_pe.Parse(m_image), EPeStatus::Valid);
        ASSERT_TRUE(m_signature.Parse(m_pe.SignedData()));
    }

    // Where a part found by parsing lies in the image.
    size_t OffsetOf(std::span<const uint8_t> part) const { return static_cast<size_t>(part.data() - m_image.data()); }

    ETrustVerdict Verify() const { return CAuthenticodeVerifier::ForPublisher().VerifyImage(m_image); }

    std::vector<uint8_t> m_image;
    CPeImage m_pe;
    CAuthenticodeSignedData m_signature;
};

} // namespace

TEST(AuthenticodeVerifierTest, AcceptsWhatThisBuildSignedAndRejectsUnsignedChangedAndForeignFiles) {
    EXPECT_EQ(Verify(L"sample-signed.dll"), ETrustVerdict::Trusted);
    EXPECT_EQ(CAuthenticodeVerifier::ForPublisher().VerifyFile(ShippedPath(L"deskling.exe").c_str()),
              ETrustVerdict::Trusted);
    EXPECT_EQ(Verify(L"sample-unsigned.dll"), ETrustVerdict::NoSignature);
    EXPECT_EQ(Verify(L"sample-changed.dll"), ETrustVerdict::BadDigest);
    // Same certificate subject, other key: only the key pin tells them apart.
    EXPECT_EQ(Verify(L"sample-foreign.dll"), ETrustVerdict::WrongPublisher);
    const std::vector<uint8_t> otherPin(32, 0x5A);
    EXPECT_EQ(CAuthenticodeVerifier(otherPin).VerifyFile(FixturePath(L"sample-signed.dll").c_str()),
              ETrustVerdict::WrongPublisher);
}

TEST_F(SignedSampleTest, RejectsADamagedSignerSignature) {
    const auto signature = m_signature.SignatureValue();
    m_image[OffsetOf(signature) + signature.size() / 2] ^= 0x01;
    EXPECT_EQ(Verify(), ETrustVerdict::BadSignature);
}

// A changed file whose signed content is made to carry the new file digest: the digest chain then
// only breaks at the signed message digest, which must be checked against the content.
TEST_F(SignedSampleTest, RejectsSignedContentRewrittenForAChangedFile) {
    m_image[0x4E] ^= 0x01;
    CDigest digest(m_signature.FileDigestAlgorithm());
    for (const ByteRange& range : m_pe.DigestRanges()) {
        digest.Update(std::span<const uint8_t>(m_image).subspan(range.offset, range.size));
    }
    const auto newDigest = digest.Finish();
    ASSERT_EQ(newDigest.size(), m_signature.FileDigest().size());
    std::copy(newDigest.begin(), newDigest.end(), m_image.begin() + OffsetOf(m_signature.FileDigest()));
    EXPECT_EQ(Verify(), ETrustVerdict::BadSignature);
}

TEST_F(SignedSampleTest, RejectsBytesAppendedAfterSigning) {
    m_image.insert(m_image.end(), 8, 0);
    EXPECT_EQ(Verify(), ETrustVerdict::Malformed);
}

TEST(AuthenticodeVerifierTest, RejectsWhatIsNoSignedProgram) {
    CScratchFolder folder(L"integrity");
    ASSERT_TRUE(folder.IsCreated());
    const std::wstring text = folder / L"notes.dll";
    ASSERT_TRUE(CScratchFolder::WriteFileText(text, std::string(300, 'M')));
    const auto verifier = CAuthenticodeVerifier::ForPublisher();
    EXPECT_EQ(verifier.VerifyFile(text.c_str()), ETrustVerdict::NotPe);
    EXPECT_EQ(verifier.VerifyFile((folder / L"missing.dll").c_str()), ETrustVerdict::Unreadable);
    EXPECT_EQ(verifier.VerifyFile(nullptr), ETrustVerdict::Unreadable);
}
