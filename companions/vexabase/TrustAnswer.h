#pragma once

#include "integrity/VexaBaseExportFuncs.h"

// The library's classification of a file: an EVexaTrustKind.
int ClassifyFile(const wchar_t* path);

// Table entry 10: yes for the publisher's files and for third-party files the system trusts.
BOOL WINAPI AnswerIsTrustedFile(LPCWSTR path, int* kind);

// "InitLibs" behind the count: clears every slot and puts the trust answer into entry 10.
// Returns 0, or ERROR_INVALID_PARAMETER when the caller's table is smaller than the library's.
int FillFunctionTable(uint32_t* count, PFN_VexaIsTrustedFile answer);
