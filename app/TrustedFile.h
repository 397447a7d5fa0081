#pragma once

#include "app/VexaPublicDLLHelper.h"

// The test made before a maker library is loaded or an executable started: asks the base library,
// and where it says no (or yes only for a third party's file), this program's own
// publisher-signature test decides. kind (may be null) receives the library's EVexaTrustKind,
// 0 when it could not be asked.
bool IsTrustedFile(const wchar_t* path, int* kind = nullptr);

// The same question put to a given base library; IsTrustedFile uses the process's one.
bool IsTrustedFileBy(CVexaBaseHelper& library, const wchar_t* path, int* kind);

// Loads a maker library only when it passes the test, and loads the very file that was tested (see
// LoadVerifiedLibrary): a copy swapped in after the test can neither be tested nor loaded in its place.
// Null when the file is missing, untrusted or does not load; the caller logs.
CModule LoadTrustedLibrary(const wchar_t* path);

// The same with a given base library; LoadTrustedLibrary uses the process's one.
CModule LoadTrustedLibraryBy(CVexaBaseHelper& library, const wchar_t* path);
