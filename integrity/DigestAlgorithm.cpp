#include "integrity/DigestAlgorithm.h"

EDigestAlgorithm DigestAlgorithmFromOid(std::string_view dotted) {
    if (dotted == "1.3.14.3.2.26") {
        return EDigestAlgorithm::Sha1;
    }
    if (dotted == "2.16.840.1.101.3.4.2.1") {
        return EDigestAlgorithm::Sha256;
    }
    if (dotted == "2.16.840.1.101.3.4.2.2") {
        return EDigestAlgorithm::Sha384;
    }
    if (dotted == "2.16.840.1.101.3.4.2.3") {
        return EDigestAlgorithm::Sha512;
    }
    return EDigestAlgorithm::Unknown;
}

size_t DigestSize(EDigestAlgorithm algorithm) {
    switch (algorithm) {
    case EDigestAlgorithm::Sha1:
        return 20;
    case EDigestAlgorithm::Sha256:
        return 32;
    case EDigestAlgorithm::Sha384:
        return 48;
    case EDigestAlgorithm::Sha512:
        return 64;
    case EDigestAlgorithm::Unknown:
        break;
    }
    return 0;
}
