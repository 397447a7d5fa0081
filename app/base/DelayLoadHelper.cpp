// The binder of late imports (cmake/DelayImports.cmake) for 64-bit builds. The stub the toolchain puts before
// each late-imported function keeps only the integer argument registers while the binder runs, so the first
// call of a function that takes float arguments, which travel in xmm0-xmm3, received whatever the binder left
// there: the first GDI+ matrix came out with a zero scale and the first needle drawn vanished. This binder
// keeps those registers. 32-bit builds pass every argument on the stack and keep the toolchain's binder.

#if defined(__x86_64__)

#include <windows.h>

#include <delayimp.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

// Loads the descriptor's library once (from the system folder only, as the search is restricted at start-up),
// finds the function of the import slot by name or ordinal and writes it into the slot. A library or function
// that cannot be had raises the exception the toolchain's binder raises.
extern "C" FARPROC WINAPI DesklingBindLateImport(PCImgDelayDescr descriptor, FARPROC* slot) {
    BYTE* base = reinterpret_cast<BYTE*>(&__ImageBase);
    if (!(descriptor->grAttrs & dlattrRva)) {
        ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_INVALID_PARAMETER), 0, 0, nullptr);
        return nullptr;
    }
    auto* module = reinterpret_cast<HMODULE*>(base + descriptor->rvaHmod);
    if (!*module) {
        HMODULE loaded = ::LoadLibraryA(reinterpret_cast<const char*>(base + descriptor->rvaDLLName));
        if (!loaded) {
            ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND), 0, 0, nullptr);
            return nullptr;
        }
        // Two threads may bind their first calls at once: one handle is kept.
        if (::InterlockedCompareExchangePointer(reinterpret_cast<PVOID*>(module), loaded, nullptr) != nullptr) {
            ::FreeLibrary(loaded);
        }
    }
    const auto* slots = reinterpret_cast<const FARPROC*>(base + descriptor->rvaIAT);
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + descriptor->rvaINT);
    const IMAGE_THUNK_DATA& entry = names[slot - slots];
    const char* name = IMAGE_SNAP_BY_ORDINAL(entry.u1.Ordinal)
                           ? MAKEINTRESOURCEA(IMAGE_ORDINAL(entry.u1.Ordinal))
                           : reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + entry.u1.AddressOfData)->Name;
    FARPROC function = ::GetProcAddress(*module, name);
    if (!function) {
        ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_PROC_NOT_FOUND), 0, 0, nullptr);
        return nullptr;
    }
    *slot = function;
    return function;
}

// The entry the stubs call, with the descriptor in rcx and the slot in rdx: xmm0-xmm3 are kept around the call.
asm(R"(
    .text
    .globl __delayLoadHelper2
    .def __delayLoadHelper2; .scl 2; .type 32; .endef
    .seh_proc __delayLoadHelper2
__delayLoadHelper2:
    subq $0x68, %rsp
    .seh_stackalloc 0x68
    .seh_endprologue
    movdqa %xmm0, 0x20(%rsp)
    movdqa %xmm1, 0x30(%rsp)
    movdqa %xmm2, 0x40(%rsp)
    movdqa %xmm3, 0x50(%rsp)
    call DesklingBindLateImport
    movdqa 0x20(%rsp), %xmm0
    movdqa 0x30(%rsp), %xmm1
    movdqa 0x40(%rsp), %xmm2
    movdqa 0x50(%rsp), %xmm3
    addq $0x68, %rsp
    ret
    .seh_endproc
)");

#endif
