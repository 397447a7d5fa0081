#include "integrity/Digest.h"

#include <algorithm>
#include <limits>

namespace {

const wchar_t* AlgorithmName(EDigestAlgorithm algorithm) {
    switch (algorithm) {
    case EDigestAlgorithm::Sha1:
        return BCRYPT_SHA1_ALGORITHM;
    case EDigestAlgorithm::Sha256:
        return BCRYPT_SHA256_ALGORITHM;
    case EDigestAlgorithm::Sha384:
        return BCRYPT_SHA384_ALGORITHM;
    case EDigestAlgorithm::Sha512:
        return BCRYPT_SHA512_ALGORITHM;
    case EDigestAlgorithm::Unknown:
        break;
    }
    return nullptr;
}

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

} // namespace

CDigest::CDigest(EDigestAlgorithm algorithm) : m_size(DigestSize(algorithm)) {
    const wchar_t* name = AlgorithmName(algorithm);
    BCRYPT_ALG_HANDLE provider = nullptr;
    if (!name || !Succeeded(::BCryptOpenAlgorithmProvider(&provider, name, nullptr, 0))) {
        return;
    }
    m_algorithm.Reset(provider);
    // A null object buffer lets the provider allocate the hash state itself.
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (Succeeded(::BCryptCreateHash(provider, &hash, nullptr, 0, nullptr, 0, 0))) {
        m_hash.Reset(hash);
    }
}

bool CDigest::Update(std::span<const uint8_t> data) {
    if (!IsValid() || m_failed) {
        return false;
    }
    while (!data.empty()) {
        const ULONG chunk = static_cast<ULONG>(std::min<size_t>(data.size(), std::numeric_limits<ULONG>::max()));
        if (!Succeeded(::BCryptHashData(m_hash.Get(), const_cast<PUCHAR>(data.data()), chunk, 0))) {
            m_failed = true;
            return false;
        }
        data = data.subspan(chunk);
    }
    return true;
}

std::vector<uint8_t> CDigest::Finish() {
    std::vector<uint8_t> digest(m_size);
    const bool ok = IsValid() && !m_failed &&
                    Succeeded(::BCryptFinishHash(m_hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0));
    m_hash.Reset();
    return ok ? digest : std::vector<uint8_t>();
}

std::vector<uint8_t> CDigest::Of(EDigestAlgorithm algorithm, std::span<const uint8_t> data) {
    CDigest digest(algorithm);
    digest.Update(data);
    return digest.Finish();
}
