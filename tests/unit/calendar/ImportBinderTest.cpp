#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "DesklingImage.h"
#include "app/ScopedHandle.h"
#include "calendar/ImportBinder.h"

namespace {

TEST(ImportBinder, FindsLoadedModulesByFileNameInAnyCase) {
    EXPECT_EQ(CImportBinder::FindLoadedModule("kernel32.dll"), ::GetModuleHandleW(L"kernel32.dll"));
    EXPECT_EQ(CImportBinder::FindLoadedModule("NTDLL.DLL"), ::GetModuleHandleW(L"ntdll.dll"));
    EXPECT_EQ(CImportBinder::FindLoadedModule("no-such-module.dll"), nullptr);
    // Only whole file names count.
    EXPECT_EQ(CImportBinder::FindLoadedModule("el32.dll"), nullptr);
}

TEST(ImportBinder, FindsExportsAsGetProcAddressDoes) {
    HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    for (const char* name : {"LoadLibraryA", "GetProcAddress", "VirtualProtect", "GetTickCount"}) {
        EXPECT_EQ(CImportBinder::FindExport(kernel32, name), ::GetProcAddress(kernel32, name)) << name;
    }
    EXPECT_EQ(CImportBinder::FindExport(kernel32, "NoSuchExport"), nullptr);
}

TEST(ImportBinder, FollowsForwardedExports) {
    // Every kernel32 export that forwards to a loaded module resolves where the system resolves it.
    HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    const auto* base = reinterpret_cast<const BYTE*>(kernel32);
    const IMAGE_DATA_DIRECTORY& dir = NtHeaders(kernel32)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    const auto* functions = reinterpret_cast<const DWORD*>(base + exports->AddressOfFunctions);
    int forwarded = 0;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        const DWORD rva = functions[ordinals[i]];
        if (rva < dir.VirtualAddress || rva >= dir.VirtualAddress + dir.Size) {
            continue;
        }
        const std::string target(reinterpret_cast<const char*>(base + rva));
        if (!::GetModuleHandleA((target.substr(0, target.find('.')) + ".dll").c_str())) {
            continue;
        }
        const char* name = reinterpret_cast<const char*>(base + names[i]);
        EXPECT_EQ(CImportBinder::FindExport(kernel32, name), ::GetProcAddress(kernel32, name))
            << name << " -> " << target;
        ++forwarded;
    }
    EXPECT_GT(forwarded, 0);
}

TEST(ImportBinder, LeavesBoundImportsAlone) {
    HMODULE self = ::GetModuleHandleW(nullptr);
    std::vector<ULONG_PTR> before;
    ForEachImportSlot(self, [&](const ImportSlot& slot) { before.push_back(slot.value); });
    EXPECT_TRUE(CImportBinder::BindImports(self));
    std::vector<ULONG_PTR> after;
    ForEachImportSlot(self, [&](const ImportSlot& slot) { after.push_back(slot.value); });
    EXPECT_EQ(after, before);
    EXPECT_TRUE(CImportBinder::EnsureOwnImportsBound());
}

TEST(ImportBinder, BindsAnExecutableLoadedAsALibrary) {
    CModule deskling(::LoadLibraryW(DesklingExePath().c_str()));
    ASSERT_TRUE(deskling);
    int unbound = 0;
    ForEachImportSlot(deskling.Get(), [&](const ImportSlot& slot) { unbound += slot.value == slot.reference; });
    if (IsWine()) {
        EXPECT_GT(unbound, 0);
    }
    EXPECT_TRUE(CImportBinder::BindImports(deskling.Get()));
    ForEachImportSlot(deskling.Get(), [](const ImportSlot& slot) {
        EXPECT_NE(slot.value, slot.reference) << slot.library << "!" << slot.name;
        EXPECT_EQ(slot.value, ExpectedImport(slot)) << slot.library << "!" << slot.name;
    });
}

} // namespace
