#pragma once

#include "app/base/ScopedHandle.h"
#include "integrity/DigestAlgorithm.h"

#include <bcrypt.h>

#include <cstdint>
#include <span>
#include <vector>

struct BcryptAlgorithmTraits : CHandleTraitsBase<BCRYPT_ALG_HANDLE, nullptr> {
    static void Close(BCRYPT_ALG_HANDLE h) { ::BCryptCloseAlgorithmProvider(h, 0); }
};
struct BcryptHashTraits : CHandleTraitsBase<BCRYPT_HASH_HANDLE, nullptr> {
    static void Close(BCRYPT_HASH_HANDLE h) { ::BCryptDestroyHash(h); }
};

// An incremental hash through the system's CNG provider.
class CDigest {
public:
    explicit CDigest(EDigestAlgorithm algorithm);
    CDigest(const CDigest&) = delete;
    CDigest& operator=(const CDigest&) = delete;

    bool IsValid() const { return m_hash.IsValid(); }
    bool Update(std::span<const uint8_t> data);
    // The digest; empty when any step failed. The object is spent afterwards.
    std::vector<uint8_t> Finish();

    // The digest of one byte range; empty on failure.
    static std::vector<uint8_t> Of(EDigestAlgorithm algorithm, std::span<const uint8_t> data);

private:
    CScopedHandle<BcryptAlgorithmTraits> m_algorithm;
    CScopedHandle<BcryptHashTraits> m_hash;
    size_t m_size = 0;
    bool m_failed = false;
};
