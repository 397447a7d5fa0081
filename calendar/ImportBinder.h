#pragma once

#include <windows.h>

// Binds an image's import address table by itself, for code that must run in an executable another program
// loaded with LoadLibrary: Wine then binds none of the executable's imports (Windows does). Needs nothing bound
// itself: kernel32 is found in the loader's module list of the process environment block and LoadLibraryA,
// GetProcAddress and VirtualProtect are read from its export directory.
class CImportBinder {
public:
    // Binds this executable's imports once per process; later calls return at once. False when binding failed;
    // the export path must then not run (a later call tries again).
    static bool EnsureOwnImportsBound();

    // Fills every import table entry of `image` that is still unbound (the loader left the name reference in it),
    // loading the named libraries. An import that cannot be found is set to null so that a call faults plainly
    // rather than jumping into the image. False when the loader functions cannot be found or a library cannot be
    // loaded or its table written.
    static bool BindImports(HMODULE image);

    // A module already loaded in this process, by file name ("kernel32.dll", any case), from the module list.
    static HMODULE FindLoadedModule(const char* fileName);

    // An export of a loaded module by name, following forwarders to modules that are already loaded.
    static FARPROC FindExport(HMODULE module, const char* name);
};
