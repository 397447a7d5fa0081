#include "integrity/AuthenticodeSignedData.h"

#include "integrity/DerReader.h"

#include <algorithm>

namespace {

constexpr const char* kSignedDataOid = "1.2.840.113549.1.7.2";
constexpr const char* kSpcIndirectDataOid = "1.3.6.1.4.1.311.2.1.4";
constexpr const char* kMessageDigestOid = "1.2.840.113549.1.9.4";

// AlgorithmIdentifier: the OID and optional parameters, which digests leave empty or NULL.
EDigestAlgorithm ReadDigestAlgorithm(CDerReader& reader) {
    DerElement sequence;
    DerElement oid;
    if (!reader.Expect(der::kSequence, sequence)) {
        return EDigestAlgorithm::Unknown;
    }
    CDerReader fields(sequence.value);
    if (!fields.Expect(der::kOid, oid)) {
        return EDigestAlgorithm::Unknown;
    }
    DerElement parameters;
    if (fields.TakeIf(der::kNull, parameters) && !parameters.value.empty()) {
        return EDigestAlgorithm::Unknown;
    }
    return fields.AtEnd() ? DigestAlgorithmFromOid(DerOidText(oid.value)) : EDigestAlgorithm::Unknown;
}

} // namespace

bool CAuthenticodeSignedData::Parse(std::span<const uint8_t> signedData) {
    *this = CAuthenticodeSignedData();
    DerElement element;
    // ContentInfo { signedData, [0] SignedData }; the certificate table pads it to eight bytes with
    // zeros, and nothing else may follow it.
    CDerReader top(signedData);
    if (!top.Expect(der::kSequence, element)) {
        return false;
    }
    const auto padding = signedData.subspan(element.whole.size());
    if (padding.size() >= 8 || std::any_of(padding.begin(), padding.end(), [](uint8_t b) { return b != 0; })) {
        return false;
    }
    CDerReader contentInfo(element.value);
    if (!contentInfo.ExpectOid(kSignedDataOid) || !contentInfo.Expect(der::kContext0, element)) {
        return false;
    }
    CDerReader explicitSignedData(element.value);
    if (!explicitSignedData.Expect(der::kSequence, element)) {
        return false;
    }
    // SignedData { version, digestAlgorithms, contentInfo, [0] certificates, [1] crls, signerInfos }
    CDerReader fields(element.value);
    DerElement version;
    DerElement algorithms;
    DerElement inner;
    if (!fields.Expect(der::kInteger, version) || !fields.Expect(der::kSet, algorithms) ||
        !fields.Expect(der::kSequence, inner)) {
        return false;
    }
    CDerReader innerInfo(inner.value);
    DerElement explicitContent;
    DerElement content;
    if (!innerInfo.ExpectOid(kSpcIndirectDataOid) || !innerInfo.Expect(der::kContext0, explicitContent)) {
        return false;
    }
    CDerReader indirect(explicitContent.value);
    if (!indirect.Expect(der::kSequence, content) || !indirect.AtEnd() || !ParseIndirectData(content.value)) {
        return false;
    }
    m_indirectData = content.value;
    fields.TakeIf(der::kContext0, element);
    fields.TakeIf(der::kContext1, element);
    DerElement signerInfos;
    if (!fields.Expect(der::kSet, signerInfos) || !fields.AtEnd()) {
        return false;
    }
    CDerReader signers(signerInfos.value);
    DerElement signer;
    return signers.Expect(der::kSequence, signer) && signers.AtEnd() && ParseSignerInfo(signer.value);
}

bool CAuthenticodeSignedData::ParseIndirectData(std::span<const uint8_t> content) {
    // SpcIndirectDataContent { data SpcAttributeTypeAndOptionalValue, messageDigest DigestInfo }
    CDerReader fields(content);
    DerElement data;
    DerElement digestInfo;
    if (!fields.Expect(der::kSequence, data) || !fields.Expect(der::kSequence, digestInfo) || !fields.AtEnd()) {
        return false;
    }
    CDerReader info(digestInfo.value);
    m_fileDigestAlgorithm = ReadDigestAlgorithm(info);
    DerElement digest;
    if (!info.Expect(der::kOctetString, digest) || !info.AtEnd() ||
        digest.value.size() != DigestSize(m_fileDigestAlgorithm) || digest.value.empty()) {
        return false;
    }
    m_fileDigest = digest.value;
    return true;
}

bool CAuthenticodeSignedData::ParseSignerInfo(std::span<const uint8_t> signerInfo) {
    // SignerInfo { version, issuerAndSerialNumber, digestAlgorithm, [0] authenticatedAttributes,
    //              digestEncryptionAlgorithm, encryptedDigest, [1] unauthenticatedAttributes }
    CDerReader fields(signerInfo);
    DerElement element;
    if (!fields.Expect(der::kInteger, element) || !fields.Expect(der::kSequence, element)) {
        return false;
    }
    m_signerDigestAlgorithm = ReadDigestAlgorithm(fields);
    DerElement attributes;
    if (m_signerDigestAlgorithm == EDigestAlgorithm::Unknown || !fields.Expect(der::kContext0, attributes) ||
        !ParseSignedAttributes(attributes.value)) {
        return false;
    }
    DerElement signature;
    if (!fields.Expect(der::kSequence, element) || !fields.Expect(der::kOctetString, signature) ||
        signature.value.empty()) {
        return false;
    }
    m_signature = signature.value;
    return true;
}

bool CAuthenticodeSignedData::ParseSignedAttributes(std::span<const uint8_t> attributes) {
    CDerReader list(attributes);
    int digests = 0;
    while (!list.AtEnd()) {
        // Attribute { type, SET OF value }
        DerElement attribute;
        DerElement type;
        DerElement values;
        if (!list.Expect(der::kSequence, attribute)) {
            return false;
        }
        CDerReader fields(attribute.value);
        if (!fields.Expect(der::kOid, type) || !fields.Expect(der::kSet, values) || !fields.AtEnd()) {
            return false;
        }
        if (DerOidText(type.value) != kMessageDigestOid) {
            continue;
        }
        CDerReader valueReader(values.value);
        DerElement digest;
        if (!valueReader.Expect(der::kOctetString, digest) || !valueReader.AtEnd()) {
            return false;
        }
        m_messageDigest = digest.value;
        ++digests;
    }
    return digests == 1 && m_messageDigest.size() == DigestSize(m_signerDigestAlgorithm);
}

std::span<const uint8_t> CertificatePublicKeyInfo(std::span<const uint8_t> certificate) {
    // Certificate { tbsCertificate { [0] version, serialNumber, signature, issuer, validity,
    //                                subject, subjectPublicKeyInfo, ... }, ... }
    CDerReader top(certificate);
    DerElement element;
    if (!top.Expect(der::kSequence, element)) {
        return {};
    }
    CDerReader certificateFields(element.value);
    if (!certificateFields.Expect(der::kSequence, element)) {
        return {};
    }
    CDerReader tbs(element.value);
    tbs.TakeIf(der::kContext0, element);
    if (!tbs.Expect(der::kInteger, element)) {
        return {};
    }
    for (int i = 0; i < 4; ++i) {
        if (!tbs.Expect(der::kSequence, element)) {
            return {};
        }
    }
    DerElement publicKeyInfo;
    return tbs.Expect(der::kSequence, publicKeyInfo) ? publicKeyInfo.whole : std::span<const uint8_t>();
}
