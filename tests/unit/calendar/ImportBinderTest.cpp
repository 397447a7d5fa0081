#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "DesklingImage.h"
#include "calendar/ImportBinder.h"

namespace {

// Binding an executable loaded as a library, forwarded exports included, is checked slot by slot through
// deskling.exe in the lunar export tests.

TEST(ImportBinder, FindsLoadedModulesByWholeFileNameInAnyCaseAndNoUnknownExport) {
    EXPECT_EQ(CImportBinder::FindLoadedModule("kernel32.dll"), ::GetModuleHandleW(L"kernel32.dll"));
    EXPECT_EQ(CImportBinder::FindLoadedModule("NTDLL.DLL"), ::GetModuleHandleW(L"ntdll.dll"));
    EXPECT_EQ(CImportBinder::FindLoadedModule("el32.dll"), nullptr);
    EXPECT_EQ(CImportBinder::FindExport(::GetModuleHandleW(L"kernel32.dll"), "NoSuchExport"), nullptr);
}

TEST(ImportBinder, LeavesBoundImportsAlone) {
    HMODULE self = ::GetModuleHandleW(nullptr);
    std::vector<ULONG_PTR> before, after;
    ForEachImportSlot(self, [&](const ImportSlot& slot) { before.push_back(slot.value); });
    EXPECT_TRUE(CImportBinder::BindImports(self));
    ForEachImportSlot(self, [&](const ImportSlot& slot) { after.push_back(slot.value); });
    EXPECT_EQ(after, before);
    EXPECT_TRUE(CImportBinder::EnsureOwnImportsBound());
}

} // namespace
