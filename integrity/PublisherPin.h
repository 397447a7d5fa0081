#pragma once

#include <cstdint>
#include <span>

// SHA-256 of the publisher key's SubjectPublicKeyInfo (DER). Fixed when the build is configured,
// from the signing key it was given or generated; the build signs every shipped binary with
// that key, so this program and its base library trust exactly what the same build signed.
std::span<const uint8_t> PublisherKeyPin();
