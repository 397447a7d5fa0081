#include "calendar/ImportBinder.h"

#include <winternl.h>

#include <atomic>

// The linker's symbol for the start of this image, whatever base it was loaded at.
extern "C" IMAGE_DOS_HEADER __ImageBase;

// Nothing here may call through the import table or rely on start-up code: no C library, no static constructors.
namespace {

using LoadLibraryAFn = HMODULE(WINAPI*)(LPCSTR);
using GetProcAddressFn = FARPROC(WINAPI*)(HMODULE, LPCSTR);
using VirtualProtectFn = BOOL(WINAPI*)(LPVOID, SIZE_T, DWORD, PDWORD);

constinit std::atomic<bool> g_ownImportsBound{false};

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (LowerAscii(*a) != LowerAscii(*b)) {
            return false;
        }
    }
    return *a == *b;
}

// True when the loader-list path `path` (UTF-16, `length` characters) ends in "\" + `fileName` (ASCII).
bool PathHasFileName(const WCHAR* path, USHORT length, const char* fileName) {
    int nameLength = 0;
    while (fileName[nameLength]) {
        ++nameLength;
    }
    if (length < nameLength + 1 || path[length - nameLength - 1] != L'\\') {
        return false;
    }
    const WCHAR* tail = path + length - nameLength;
    for (int i = 0; i < nameLength; ++i) {
        if (tail[i] > 0x7F || LowerAscii(static_cast<char>(tail[i])) != LowerAscii(fileName[i])) {
            return false;
        }
    }
    return true;
}

template <class T> T* AtRva(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

const IMAGE_DATA_DIRECTORY& Directory(HMODULE module, int index) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const auto* nt = AtRva<const IMAGE_NT_HEADERS>(module, static_cast<DWORD>(dos->e_lfanew));
    return nt->OptionalHeader.DataDirectory[index];
}

// GetProcAddress results are typed by the caller; the detour through a plain function type keeps the compiler
// from warning about the cast.
template <class Fn> Fn As(FARPROC proc) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

// The process environment block, from the thread block's fixed slot (the header's NtCurrentTeb trips a
// bounds warning of this compiler).
const PEB* CurrentPeb() {
    const PEB* peb;
#if defined(_WIN64)
    __asm__("movq %%gs:0x60, %0" : "=r"(peb));
#else
    __asm__("movl %%fs:0x30, %0" : "=r"(peb));
#endif
    return peb;
}

struct LoaderFunctions {
    LoadLibraryAFn loadLibrary;
    GetProcAddressFn getProcAddress;
    VirtualProtectFn virtualProtect;
};

bool FindLoaderFunctions(LoaderFunctions* functions) {
    HMODULE kernel32 = CImportBinder::FindLoadedModule("kernel32.dll");
    if (!kernel32) {
        return false;
    }
    functions->loadLibrary = As<LoadLibraryAFn>(CImportBinder::FindExport(kernel32, "LoadLibraryA"));
    functions->getProcAddress = As<GetProcAddressFn>(CImportBinder::FindExport(kernel32, "GetProcAddress"));
    functions->virtualProtect = As<VirtualProtectFn>(CImportBinder::FindExport(kernel32, "VirtualProtect"));
    return functions->loadLibrary && functions->getProcAddress && functions->virtualProtect;
}

} // namespace

HMODULE CImportBinder::FindLoadedModule(const char* fileName) {
    const LIST_ENTRY* head = &CurrentPeb()->Ldr->InMemoryOrderModuleList;
    for (const LIST_ENTRY* link = head->Flink; link != head; link = link->Flink) {
        const auto* entry = CONTAINING_RECORD(link, LDR_DATA_TABLE_ENTRY, InMemoryOrderLinks);
        const UNICODE_STRING& path = entry->FullDllName;
        if (path.Buffer && PathHasFileName(path.Buffer, path.Length / sizeof(WCHAR), fileName)) {
            return static_cast<HMODULE>(entry->DllBase);
        }
    }
    return nullptr;
}

FARPROC CImportBinder::FindExport(HMODULE module, const char* name) {
    // A forwarder names "MODULE.Function"; a short chain of them is all the system libraries use.
    for (int hops = 0; module && hops < 4; ++hops) {
        const IMAGE_DATA_DIRECTORY& dir = Directory(module, IMAGE_DIRECTORY_ENTRY_EXPORT);
        if (dir.VirtualAddress == 0) {
            return nullptr;
        }
        const auto* exports = AtRva<const IMAGE_EXPORT_DIRECTORY>(module, dir.VirtualAddress);
        const auto* names = AtRva<const DWORD>(module, exports->AddressOfNames);
        const auto* ordinals = AtRva<const WORD>(module, exports->AddressOfNameOrdinals);
        const auto* functions = AtRva<const DWORD>(module, exports->AddressOfFunctions);
        DWORD rva = 0;
        for (DWORD i = 0; i < exports->NumberOfNames && rva == 0; ++i) {
            if (SameName(AtRva<const char>(module, names[i]), name)) {
                rva = functions[ordinals[i]];
            }
        }
        if (rva == 0) {
            return nullptr;
        }
        if (rva < dir.VirtualAddress || rva >= dir.VirtualAddress + dir.Size) {
            return reinterpret_cast<FARPROC>(AtRva<BYTE>(module, rva));
        }
        const char* forwarder = AtRva<const char>(module, rva);
        char target[64];
        int n = 0;
        while (forwarder[n] && forwarder[n] != '.' && n < 59) {
            target[n] = forwarder[n];
            ++n;
        }
        if (forwarder[n] != '.') {
            return nullptr;
        }
        name = forwarder + n + 1;
        target[n++] = '.';
        target[n++] = 'd';
        target[n++] = 'l';
        target[n++] = 'l';
        target[n] = '\0';
        module = FindLoadedModule(target);
    }
    return nullptr;
}

bool CImportBinder::BindImports(HMODULE image) {
    const IMAGE_DATA_DIRECTORY& dir = Directory(image, IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (dir.VirtualAddress == 0) {
        return true;
    }
    LoaderFunctions loader{};
    bool haveLoader = false;
    bool complete = true;
    for (auto* desc = AtRva<IMAGE_IMPORT_DESCRIPTOR>(image, dir.VirtualAddress); desc->Name; ++desc) {
        auto* names = AtRva<IMAGE_THUNK_DATA>(image, desc->OriginalFirstThunk);
        auto* slots = AtRva<IMAGE_THUNK_DATA>(image, desc->FirstThunk);
        // An unbound slot still holds the same name reference as the lookup table; a bound one an address.
        if (desc->OriginalFirstThunk == 0 || slots->u1.Function != names->u1.AddressOfData) {
            continue;
        }
        if (!haveLoader && !(haveLoader = FindLoaderFunctions(&loader))) {
            return false;
        }
        SIZE_T count = 0;
        while (names[count].u1.AddressOfData) {
            ++count;
        }
        DWORD oldProtect = 0;
        if (!loader.virtualProtect(slots, count * sizeof(*slots), PAGE_READWRITE, &oldProtect)) {
            complete = false;
            continue;
        }
        HMODULE library = loader.loadLibrary(AtRva<const char>(image, desc->Name));
        complete = complete && library;
        for (SIZE_T i = 0; i < count; ++i) {
            const auto reference = names[i].u1.AddressOfData;
            LPCSTR import = IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)
                                ? MAKEINTRESOURCEA(IMAGE_ORDINAL(names[i].u1.Ordinal))
                                : AtRva<IMAGE_IMPORT_BY_NAME>(image, static_cast<DWORD>(reference))->Name;
            slots[i].u1.Function = library ? reinterpret_cast<ULONG_PTR>(loader.getProcAddress(library, import)) : 0;
        }
        DWORD unused = 0;
        loader.virtualProtect(slots, count * sizeof(*slots), oldProtect, &unused);
    }
    return complete;
}

bool CImportBinder::EnsureOwnImportsBound() {
    if (g_ownImportsBound.load(std::memory_order_acquire)) {
        return true;
    }
    // Two first callers may both bind: they write the same addresses, and each returns only after its own pass.
    if (!BindImports(reinterpret_cast<HMODULE>(&__ImageBase))) {
        return false;
    }
    g_ownImportsBound.store(true, std::memory_order_release);
    return true;
}
