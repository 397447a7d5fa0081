#include "app/TrustedFile.h"

#include "unit/app/ScratchFolder.h"

#include <gtest/gtest.h>
#include <imagehlp.h>

#include <cctype>
#include <set>
#include <string>

// The stand-in base library swaps the file right after vouching for it, as an attacker racing the load would:
// the file itself, then the whole folder it lies in.
TEST(LibraryLoadingTest, ALibrarySwappedAfterItsTestIsNeverLoaded) {
    CVexaBaseHelper library;
    ASSERT_TRUE(library.Initialise(FixturePath(L"swapping-base.dll").c_str()));
    CScratchFolder scratch(L"swap");
    ASSERT_TRUE(scratch.IsCreated());
    const std::string tested = CScratchFolder::ReadFileText(FixturePath(L"sample-signed.dll"));
    const std::wstring changed = FixturePath(L"sample-changed.dll");
    for (const wchar_t* name : {L"file", L"folder"}) {
        SCOPED_TRACE(name);
        const std::wstring folder = scratch / name;
        const std::wstring path = folder + L"\\" + name + L".dll";
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
        ASSERT_TRUE(::CopyFileW(FixturePath(L"sample-signed.dll").c_str(), path.c_str(), FALSE));
        if (std::wstring(name) == L"file") {
            ASSERT_TRUE(::CopyFileW(changed.c_str(), (path + L".swap").c_str(), FALSE));
        } else {
            ASSERT_TRUE(::CreateDirectoryW((folder + L".swap").c_str(), nullptr));
            ASSERT_TRUE(::CopyFileW(changed.c_str(), (folder + L".swap\\" + name + L".dll").c_str(), FALSE));
        }
        CModule module = LoadTrustedLibraryBy(library, path.c_str());
        ASSERT_TRUE(module) << "error " << ::GetLastError();
        wchar_t loaded[MAX_PATH] = {};
        ::GetModuleFileNameW(module.Get(), loaded, MAX_PATH);
        EXPECT_EQ(CScratchFolder::ReadFileText(loaded), tested) << "the loaded file is not the one tested";
    }
}

// Any other DLL the program imported the usual way would be looked for beside it first, where a planted copy
// would run before the program could restrict the search.
TEST(LibraryLoadingTest, TheProgramImportsOnlyDllsTheSystemAlwaysLoadsFromItsOwnFolder) {
    static const std::set<std::string> kKnownDlls = {
        "advapi32.dll", "clbcatq.dll",  "combase.dll", "comdlg32.dll", "coml2.dll",  "difxapi.dll", "gdi32.dll",
        "gdiplus.dll",  "imagehlp.dll", "imm32.dll",   "kernel32.dll", "msctf.dll",  "msvcrt.dll",  "normaliz.dll",
        "nsi.dll",      "ntdll.dll",    "ole32.dll",   "oleaut32.dll", "psapi.dll",  "rpcrt4.dll",  "sechost.dll",
        "setupapi.dll", "shcore.dll",   "shell32.dll", "shlwapi.dll",  "user32.dll", "wldap32.dll", "ws2_32.dll"};
    const HMODULE image =
        ::LoadLibraryExW(ShippedPath(L"deskling.exe").c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(image) << "error " << ::GetLastError();
    auto* base = reinterpret_cast<uint8_t*>(reinterpret_cast<ULONG_PTR>(image) & ~ULONG_PTR(3));
    ULONG size = 0;
    const auto* imports = static_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        ::ImageDirectoryEntryToData(base, TRUE, IMAGE_DIRECTORY_ENTRY_IMPORT, &size));
    ASSERT_NE(imports, nullptr);
    size_t count = 0;
    for (; imports->Name != 0; ++imports, ++count) {
        std::string name(reinterpret_cast<const char*>(base + imports->Name));
        for (char& c : name) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        EXPECT_TRUE(kKnownDlls.count(name)) << name;
    }
    EXPECT_GT(count, 3u);
    ::FreeLibrary(image);
}
