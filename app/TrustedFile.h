#pragma once

#include "app/VexaPublicDLLHelper.h"

// The test made before a maker library is loaded or an executable started: asks the base library,
// and where it says no (or yes only for a third party's file), this program's own
// publisher-signature test decides. kind (may be null) receives the library's EVexaTrustKind,
// 0 when it could not be asked.
bool IsTrustedFile(const wchar_t* path, int* kind = nullptr);

// The same question put to a given base library; IsTrustedFile uses the process's one.
bool IsTrustedFileBy(CVexaBaseHelper& library, const wchar_t* path, int* kind);
