#include "app/TrustedFile.h"

#include "integrity/AuthenticodeVerifier.h"
#include "integrity/VerifiedLibrary.h"
#include "integrity/VexaFileTrust.h"

namespace {

bool AskLibrary(const CVexaBaseHelper& library, const wchar_t* path, int& kind) {
    if (void* entry = library.GetFuncs().entries[kVexaIsTrustedFileEntry]) {
        return reinterpret_cast<PFN_VexaIsTrustedFile>(entry)(path, &kind) != FALSE;
    }
    const PFN_VexaCreateObject create = library.GetCreateObject();
    void* object = nullptr;
    if (!create || FAILED(create(CLSID_VexaFileTrust, &object)) || !object) {
        return false;
    }
    auto* trust = static_cast<IVexaFileTrust*>(object);
    const bool yes = trust->IsTrustedFile(path, &kind) != FALSE;
    trust->Release();
    return yes;
}

// The trusted-file test; file, when given, is the open file at path, which the program's own test reads.
bool IsTrusted(CVexaBaseHelper& library, const wchar_t* path, HANDLE file, int* kind) {
    int found = kVexaTrustNone;
    if (kind) {
        *kind = found;
    }
    // A bare name: the library start-up loaded is the one asked.
    if (!path || !library.Initialise(L"Vexabase.dll")) {
        return false;
    }
    const bool yes = AskLibrary(library, path, found);
    if (kind) {
        *kind = found;
    }
    if (yes && found != kVexaTrustThirdParty) {
        return true;
    }
    const CAuthenticodeVerifier& verifier = CAuthenticodeVerifier::ForPublisher();
    return (file ? verifier.VerifyOpenFile(file) : verifier.VerifyFile(path)) == ETrustVerdict::Trusted;
}

} // namespace

bool IsTrustedFile(const wchar_t* path, int* kind) {
    return IsTrustedFileBy(CVexaBaseHelper::GetInstance(), path, kind);
}

bool IsTrustedFileBy(CVexaBaseHelper& library, const wchar_t* path, int* kind) {
    return IsTrusted(library, path, nullptr, kind);
}

CModule LoadTrustedLibrary(const wchar_t* path) {
    return LoadTrustedLibraryBy(CVexaBaseHelper::GetInstance(), path);
}

CModule LoadTrustedLibraryBy(CVexaBaseHelper& library, const wchar_t* path) {
    return LoadVerifiedLibrary(
        path, [&library](const wchar_t* full, HANDLE file) { return IsTrusted(library, full, file, nullptr); });
}
