#pragma once

#include "app/base/ScopedHandle.h"

#include <functional>

// Whether the file at path, open for reading through file, may be loaded.
using VerifyLibraryFile = std::function<bool(const wchar_t* path, HANDLE file)>;

// Loads the library at path only when verify accepts it, and loads the very file verify saw: from before
// verify runs until the loader has mapped it, the file is held open against writing, replacement and
// deletion, and every folder above it against renaming (Wine lets a folder be renamed with files open in
// it). The library's own imports come from the system folder where the system can restrict them. Null
// when the path is unusable, the file or a folder cannot be held, verify refuses or the loader fails;
// the system error is left for the caller's log (ERROR_ACCESS_DISABLED_BY_POLICY when verify refused the file).
CModule LoadVerifiedLibrary(const wchar_t* path, const VerifyLibraryFile& verify);

// LOAD_LIBRARY_SEARCH_SYSTEM32 where the system offers it (AddDllDirectory is the sign), else 0.
DWORD SystemFolderImportsFlag();
