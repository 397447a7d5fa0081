#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "unit/TestPaths.h"

// deskling.exe as another program sees it: loaded with LoadLibrary from the runnable tree beside the tests
// (<build>/tests/../bin), with helpers to look at its import table.

template <class Fn> Fn ProcAs(FARPROC proc) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

inline const IMAGE_NT_HEADERS* NtHeaders(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    return reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
}

// One import slot: the library, the import's name (or "#ordinal"), the slot's current value and the name
// reference an unbound slot holds.
struct ImportSlot {
    const char* library;
    std::string name;
    ULONG_PTR value;
    ULONG_PTR reference;
};

inline void ForEachImportSlot(HMODULE module, const std::function<void(const ImportSlot&)>& visit) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const IMAGE_DATA_DIRECTORY& dir = NtHeaders(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); desc->Name; ++desc) {
        const auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->OriginalFirstThunk);
        const auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            const ULONG_PTR reference = static_cast<ULONG_PTR>(names->u1.AddressOfData);
            std::string name =
                IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)
                    ? "#" + std::to_string(IMAGE_ORDINAL(names->u1.Ordinal))
                    : reinterpret_cast<const char*>(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + reference)->Name);
            visit({reinterpret_cast<const char*>(base + desc->Name), name, static_cast<ULONG_PTR>(slots->u1.Function),
                   reference});
        }
    }
}

// What the system loader would have put in a slot.
inline ULONG_PTR ExpectedImport(const ImportSlot& slot) {
    HMODULE library = ::GetModuleHandleA(slot.library);
    if (!library) {
        return 0;
    }
    LPCSTR name = slot.name[0] == '#' ? MAKEINTRESOURCEA(std::stoi(slot.name.substr(1))) : slot.name.c_str();
    return reinterpret_cast<ULONG_PTR>(::GetProcAddress(library, name));
}
