// The trust test's reading of a file over arbitrary bytes, before any cryptography: what the file digest covers
// and the signature's fields all lie inside the file, digests have their algorithm's size, and a certificate's
// key information lies inside the certificate.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "integrity/AuthenticodeSignedData.h"
#include "integrity/PeImage.h"

namespace {

void CheckInside(std::span<const uint8_t> part, std::span<const uint8_t> whole) {
    if (!part.empty() && (part.data() < whole.data() || part.data() + part.size() > whole.data() + whole.size())) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    CheckInside(CertificatePublicKeyInfo(file), file);
    CPeImage image;
    if (image.Parse(file) != EPeStatus::Valid) {
        return 0;
    }
    for (const ByteRange& range : image.DigestRanges()) {
        if (range.offset > size || range.size > size - range.offset) {
            std::abort();
        }
    }
    CheckInside(image.SignedData(), file);
    CAuthenticodeSignedData signature;
    if (!signature.Parse(image.SignedData())) {
        return 0;
    }
    for (std::span<const uint8_t> part : {signature.FileDigest(), signature.IndirectDataContent(),
                                          signature.MessageDigest(), signature.SignatureValue()}) {
        CheckInside(part, file);
    }
    if (signature.FileDigest().size() != DigestSize(signature.FileDigestAlgorithm()) ||
        signature.MessageDigest().size() != DigestSize(signature.SignerDigestAlgorithm())) {
        std::abort();
    }
    return 0;
}
