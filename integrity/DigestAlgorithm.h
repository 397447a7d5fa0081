#pragma once

#include <cstddef>
#include <string_view>

// Hash functions a signature may name for the file digest or the signed attributes.
enum class EDigestAlgorithm { Unknown, Sha1, Sha256, Sha384, Sha512 };

EDigestAlgorithm DigestAlgorithmFromOid(std::string_view dotted);
// Size of a digest in bytes; 0 for Unknown.
size_t DigestSize(EDigestAlgorithm algorithm);
