#include "companions/vexabase/TrustAnswer.h"

#include "integrity/AuthenticodeVerifier.h"
#include "integrity/SystemTrust.h"

#include <algorithm>

int ClassifyFile(const wchar_t* path) {
    switch (CAuthenticodeVerifier::ForPublisher().VerifyFile(path)) {
    case ETrustVerdict::Trusted:
        return kVexaTrustPublisher;
    case ETrustVerdict::WrongPublisher:
        // Only a file whose own signature holds is worth asking the system about.
        return IsChainTrustedBySystem(path) ? kVexaTrustThirdParty : kVexaTrustForeign;
    default:
        return kVexaTrustNone;
    }
}

BOOL WINAPI AnswerIsTrustedFile(LPCWSTR path, int* kind) {
    const int found = ClassifyFile(path);
    if (kind) {
        *kind = found;
    }
    return found == kVexaTrustPublisher || found == kVexaTrustThirdParty;
}

int FillFunctionTable(uint32_t* count, PFN_VexaIsTrustedFile answer) {
    if (!count || *count < kVexaBaseEntryCount) {
        return ERROR_INVALID_PARAMETER;
    }
    // The count is the table's first member, so its address is the table's.
    auto* table = reinterpret_cast<CVexaBaseExportFuncs*>(count);
    std::fill(std::begin(table->entries), std::end(table->entries), nullptr);
    table->entries[kVexaIsTrustedFileEntry] = reinterpret_cast<void*>(answer);
    return 0;
}
