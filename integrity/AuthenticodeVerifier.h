#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

enum class ETrustVerdict {
    // A valid signature of the pinned publisher over the file's current bytes.
    Trusted,
    Unreadable,
    NotPe,
    NoSignature,
    // Certificate table or signature not understood.
    Malformed,
    // The file changed after signing.
    BadDigest,
    // The signer's signature over its signed attributes does not hold, or they do not cover
    // the signed content.
    BadSignature,
    // A valid signature, made with a key other than the pinned one.
    WrongPublisher,
};

const wchar_t* TrustVerdictName(ETrustVerdict verdict);

// The publisher-signature test. It checks every link itself: the PE digest against the one the
// signature carries, that digest's content against the signed message digest, the signer's
// signature over the signed attributes (crypt32), and the signer's public key against the pin.
// The system's chain policy plays no part: a pinned key needs no chain, and Wine's
// WinVerifyTrust cannot be relied on to build one (it also takes over a second to load the root
// store the first time, which start-up cannot afford).
class CAuthenticodeVerifier {
public:
    // pinnedKeyHash: SHA-256 of the publisher's SubjectPublicKeyInfo.
    explicit CAuthenticodeVerifier(std::span<const uint8_t> pinnedKeyHash);

    // The verifier for the publisher this build signs with.
    static CAuthenticodeVerifier ForPublisher();

    ETrustVerdict VerifyFile(const wchar_t* path) const;
    // Reads an open file from its start, so a caller can keep others from writing to it between
    // the test and its use.
    ETrustVerdict VerifyOpenFile(HANDLE file) const;
    ETrustVerdict VerifyImage(std::span<const uint8_t> image) const;

private:
    std::vector<uint8_t> m_pin;
};
