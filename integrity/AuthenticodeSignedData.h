#pragma once

#include "integrity/DigestAlgorithm.h"

#include <cstdint>
#include <span>

// The fields of an Authenticode PKCS#7 signature that the trust test needs, read without any
// cryptography: the file digest the signer vouches for and the message digest its signed
// attributes carry. Verifying the signature itself is left to the caller.
class CAuthenticodeSignedData {
public:
    // False when the data is not Authenticode signed data with exactly one signer that carries
    // signed attributes holding one message digest.
    bool Parse(std::span<const uint8_t> signedData);

    EDigestAlgorithm FileDigestAlgorithm() const { return m_fileDigestAlgorithm; }
    std::span<const uint8_t> FileDigest() const { return m_fileDigest; }
    // The contents of SpcIndirectDataContent without its tag and length: what the message digest
    // attribute covers (PKCS#7 version 1.5 rules).
    std::span<const uint8_t> IndirectDataContent() const { return m_indirectData; }
    EDigestAlgorithm SignerDigestAlgorithm() const { return m_signerDigestAlgorithm; }
    std::span<const uint8_t> MessageDigest() const { return m_messageDigest; }
    // The signer's encrypted digest: the bytes a forged or damaged signature differs in.
    std::span<const uint8_t> SignatureValue() const { return m_signature; }

private:
    bool ParseIndirectData(std::span<const uint8_t> content);
    bool ParseSignerInfo(std::span<const uint8_t> signerInfo);
    bool ParseSignedAttributes(std::span<const uint8_t> attributes);

    EDigestAlgorithm m_fileDigestAlgorithm = EDigestAlgorithm::Unknown;
    std::span<const uint8_t> m_fileDigest;
    std::span<const uint8_t> m_indirectData;
    EDigestAlgorithm m_signerDigestAlgorithm = EDigestAlgorithm::Unknown;
    std::span<const uint8_t> m_messageDigest;
    std::span<const uint8_t> m_signature;
};

// The SubjectPublicKeyInfo of a DER certificate, tag and length included: what the publisher pin
// is the hash of. Empty when the certificate is malformed.
std::span<const uint8_t> CertificatePublicKeyInfo(std::span<const uint8_t> certificate);
