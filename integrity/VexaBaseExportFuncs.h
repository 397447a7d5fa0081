#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The contract between this program and the maker's base library "Vexabase.dll".

// The function table "InitLibs" fills: a 32-bit count, which the caller sets to the number of
// slots before the call, followed by the slots. Slots the library does not offer stay null.
struct CVexaBaseExportFuncs {
    uint32_t count;
    void* entries[256];
};

constexpr uint32_t kVexaBaseEntryCount = 256;
// Slot of the trust question, a PFN_VexaIsTrustedFile.
constexpr size_t kVexaIsTrustedFileEntry = 10;

// How the library classifies a file it was asked about (the out kind of the trust question).
enum EVexaTrustKind : int {
    // No valid signature: unsigned, damaged, or changed after signing. Answered no.
    kVexaTrustNone = 0,
    // Signed by the maker's own publisher key. Answered yes.
    kVexaTrustPublisher = 1,
    // Validly signed by another key whose chain the system does not trust. Answered no.
    kVexaTrustForeign = 2,
    // Validly signed by another key whose chain the system trusts. Answered yes, but it is not
    // the maker's file, so this program counts it as no.
    kVexaTrustThirdParty = 3,
};

extern "C" {
// "InitLibs": receives the address of the table's count; 0 means success.
typedef int(WINAPI* PFN_VexaInitLibs)(uint32_t* count);
// "CreateObject": creates the object of the class id; S_OK with a referenced object, or an error.
typedef HRESULT(WINAPI* PFN_VexaCreateObject)(REFCLSID classId, void** object);
// Table entry 10: TRUE when the file may be loaded or started; kind (may be null) receives an
// EVexaTrustKind.
typedef BOOL(WINAPI* PFN_VexaIsTrustedFile)(LPCWSTR path, int* kind);
}
