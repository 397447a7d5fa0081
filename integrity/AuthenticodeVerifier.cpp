#include "integrity/AuthenticodeVerifier.h"

#include "app/base/ScopedHandle.h"
#include "integrity/AuthenticodeSignedData.h"
#include "integrity/Digest.h"
#include "integrity/PeImage.h"
#include "integrity/PublisherPin.h"

#include <wincrypt.h>

#include <algorithm>

namespace {

// Signed binaries of this program are a few megabytes; anything far larger is not one of them.
constexpr LONGLONG kMaxImageSize = 512LL * 1024 * 1024;
constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

struct CryptMsgTraits : CHandleTraitsBase<HCRYPTMSG, nullptr> {
    static void Close(HCRYPTMSG h) { ::CryptMsgClose(h); }
};
struct CertStoreTraits : CHandleTraitsBase<HCERTSTORE, nullptr> {
    static void Close(HCERTSTORE h) { ::CertCloseStore(h, 0); }
};
struct CertContextTraits : CHandleTraitsBase<PCCERT_CONTEXT, nullptr> {
    static void Close(PCCERT_CONTEXT h) { ::CertFreeCertificateContext(h); }
};

bool SameBytes(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

std::vector<uint8_t> ImageDigest(std::span<const uint8_t> image, const CPeImage& pe, EDigestAlgorithm algorithm) {
    CDigest digest(algorithm);
    for (const ByteRange& range : pe.DigestRanges()) {
        digest.Update(image.subspan(range.offset, range.size));
    }
    return digest.Finish();
}

// Verifies the one signer's signature with the certificate the message names for it and hands
// out that certificate's DER encoding.
bool VerifySigner(std::span<const uint8_t> signedData, std::vector<uint8_t>& certificate) {
    CScopedHandle<CryptMsgTraits> message(::CryptMsgOpenToDecode(kEncoding, 0, 0, 0, nullptr, nullptr));
    if (!message || !::CryptMsgUpdate(message.Get(), signedData.data(), static_cast<DWORD>(signedData.size()), TRUE)) {
        return false;
    }
    DWORD signers = 0;
    DWORD size = sizeof(signers);
    if (!::CryptMsgGetParam(message.Get(), CMSG_SIGNER_COUNT_PARAM, 0, &signers, &size) || signers != 1) {
        return false;
    }
    size = 0;
    if (!::CryptMsgGetParam(message.Get(), CMSG_SIGNER_CERT_INFO_PARAM, 0, nullptr, &size) || size == 0) {
        return false;
    }
    // CERT_INFO holds pointers, so the buffer must be aligned for them.
    std::vector<ULONG_PTR> signerId((size + sizeof(ULONG_PTR) - 1) / sizeof(ULONG_PTR));
    if (!::CryptMsgGetParam(message.Get(), CMSG_SIGNER_CERT_INFO_PARAM, 0, signerId.data(), &size)) {
        return false;
    }
    CScopedHandle<CertStoreTraits> store(::CertOpenStore(CERT_STORE_PROV_MSG, kEncoding, 0, 0, message.Get()));
    if (!store) {
        return false;
    }
    CScopedHandle<CertContextTraits> signer(
        ::CertGetSubjectCertificateFromStore(store.Get(), kEncoding, reinterpret_cast<PCERT_INFO>(signerId.data())));
    if (!signer || !::CryptMsgControl(message.Get(), 0, CMSG_CTRL_VERIFY_SIGNATURE, signer.Get()->pCertInfo)) {
        return false;
    }
    certificate.assign(signer.Get()->pbCertEncoded, signer.Get()->pbCertEncoded + signer.Get()->cbCertEncoded);
    return true;
}

} // namespace

const wchar_t* TrustVerdictName(ETrustVerdict verdict) {
    switch (verdict) {
    case ETrustVerdict::Trusted:
        return L"trusted";
    case ETrustVerdict::Unreadable:
        return L"unreadable";
    case ETrustVerdict::NotPe:
        return L"not a PE file";
    case ETrustVerdict::NoSignature:
        return L"unsigned";
    case ETrustVerdict::Malformed:
        return L"malformed signature";
    case ETrustVerdict::BadDigest:
        return L"changed after signing";
    case ETrustVerdict::BadSignature:
        return L"bad signature";
    case ETrustVerdict::WrongPublisher:
        return L"signed by another publisher";
    }
    return L"?";
}

CAuthenticodeVerifier::CAuthenticodeVerifier(std::span<const uint8_t> pinnedKeyHash)
    : m_pin(pinnedKeyHash.begin(), pinnedKeyHash.end()) {}

CAuthenticodeVerifier CAuthenticodeVerifier::ForPublisher() {
    return CAuthenticodeVerifier(PublisherKeyPin());
}

ETrustVerdict CAuthenticodeVerifier::VerifyFile(const wchar_t* path) const {
    if (!path || !*path) {
        return ETrustVerdict::Unreadable;
    }
    CFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? VerifyOpenFile(file.Get()) : ETrustVerdict::Unreadable;
}

ETrustVerdict CAuthenticodeVerifier::VerifyOpenFile(HANDLE file) const {
    LARGE_INTEGER size{};
    LARGE_INTEGER start{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart > kMaxImageSize ||
        !::SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        return ETrustVerdict::Unreadable;
    }
    std::vector<uint8_t> image(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < image.size()) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(image.size() - done, 1 << 20));
        if (!::ReadFile(file, image.data() + done, want, &read, nullptr) || read == 0) {
            return ETrustVerdict::Unreadable;
        }
        done += read;
    }
    return VerifyImage(image);
}

ETrustVerdict CAuthenticodeVerifier::VerifyImage(std::span<const uint8_t> image) const {
    CPeImage pe;
    switch (pe.Parse(image)) {
    case EPeStatus::NotPe:
        return ETrustVerdict::NotPe;
    case EPeStatus::BadCertificateTable:
        return ETrustVerdict::Malformed;
    case EPeStatus::Valid:
        break;
    }
    if (!pe.IsSigned()) {
        return ETrustVerdict::NoSignature;
    }
    CAuthenticodeSignedData signature;
    if (!signature.Parse(pe.SignedData())) {
        return ETrustVerdict::Malformed;
    }
    if (!SameBytes(ImageDigest(image, pe, signature.FileDigestAlgorithm()), signature.FileDigest())) {
        return ETrustVerdict::BadDigest;
    }
    // The signed attributes vouch for the content only through the message digest.
    const auto contentDigest = CDigest::Of(signature.SignerDigestAlgorithm(), signature.IndirectDataContent());
    std::vector<uint8_t> certificate;
    if (!SameBytes(contentDigest, signature.MessageDigest()) || !VerifySigner(pe.SignedData(), certificate)) {
        return ETrustVerdict::BadSignature;
    }
    const auto keyHash = CDigest::Of(EDigestAlgorithm::Sha256, CertificatePublicKeyInfo(certificate));
    return !keyHash.empty() && SameBytes(keyHash, m_pin) ? ETrustVerdict::Trusted : ETrustVerdict::WrongPublisher;
}
