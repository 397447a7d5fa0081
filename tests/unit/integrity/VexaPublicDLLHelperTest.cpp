#include "app/VexaPublicDLLHelper.h"

#include "unit/app/ScratchFolder.h"
#include "unit/integrity/IntegrityFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

size_t FilledEntries(const CVexaBaseExportFuncs& funcs) {
    return static_cast<size_t>(std::count_if(std::begin(funcs.entries), std::end(funcs.entries),
                                             [](void* entry) { return entry != nullptr; }));
}

bool IsLoaded(const std::wstring& path) {
    return ::GetModuleHandleW(path.c_str()) != nullptr;
}

} // namespace

TEST(VexaPublicDLLHelperTest, LoadsTheSignedLibraryAndTakesItsTable) {
    CVexaBaseHelper helper;
    ASSERT_TRUE(helper.Initialise(ShippedPath(L"Vexabase.dll").c_str()));
    EXPECT_NE(helper.GetModule(), nullptr);
    EXPECT_NE(helper.GetCreateObject(), nullptr);
    EXPECT_EQ(helper.GetFuncs().count, kVexaBaseEntryCount);
    EXPECT_NE(helper.GetFuncs().entries[kVexaIsTrustedFileEntry], nullptr);
    EXPECT_EQ(FilledEntries(helper.GetFuncs()), 1u);
}

TEST(VexaPublicDLLHelperTest, LaterCallsReturnTheFirstResult) {
    CVexaBaseHelper helper;
    ASSERT_TRUE(helper.Initialise(ShippedPath(L"Vexabase.dll").c_str()));
    const HMODULE first = helper.GetModule();
    EXPECT_TRUE(helper.Initialise(L"Vexabase.dll"));
    EXPECT_TRUE(helper.Initialise(FixturePath(L"sample-unsigned.dll").c_str()));
    EXPECT_EQ(helper.GetModule(), first);
    EXPECT_FALSE(IsLoaded(FixturePath(L"sample-unsigned.dll")));

    CVexaBaseHelper failed;
    EXPECT_FALSE(failed.Initialise(FixturePath(L"sample-unsigned.dll").c_str()));
    EXPECT_FALSE(failed.Initialise(ShippedPath(L"Vexabase.dll").c_str()));
    EXPECT_EQ(failed.GetModule(), nullptr);
}

TEST(VexaPublicDLLHelperTest, ABareNameReusesTheLoadedModule) {
    // Nothing of that name where a bare name would otherwise be looked for.
    ASSERT_EQ(::GetFileAttributesW(L"Vexabase.dll"), INVALID_FILE_ATTRIBUTES);
    CVexaBaseHelper loader;
    ASSERT_TRUE(loader.Initialise(ShippedPath(L"Vexabase.dll").c_str()));

    CVexaBaseHelper byName;
    ASSERT_TRUE(byName.Initialise(L"Vexabase.dll"));
    EXPECT_EQ(byName.GetModule(), loader.GetModule());
    EXPECT_NE(byName.GetFuncs().entries[kVexaIsTrustedFileEntry], nullptr);
}

TEST(VexaPublicDLLHelperTest, RefusesToLoadWhatFailsTheSignatureTest) {
    for (const wchar_t* name : {L"sample-unsigned.dll", L"sample-changed.dll", L"sample-foreign.dll"}) {
        CVexaBaseHelper helper;
        EXPECT_FALSE(helper.Initialise(FixturePath(name).c_str())) << name;
        EXPECT_FALSE(IsLoaded(FixturePath(name))) << name;
    }
    // The real library with one byte changed, under a name nothing else in the process uses.
    CScratchFolder folder(L"integrity");
    ASSERT_TRUE(folder.IsCreated());
    auto bytes = ReadBytes(ShippedPath(L"Vexabase.dll"));
    ASSERT_GT(bytes.size(), 0x100u);
    bytes[0x80] ^= 0x01;
    const std::wstring changed = folder / L"VexabaseChanged.dll";
    ASSERT_TRUE(WriteBytes(changed, bytes));
    CVexaBaseHelper helper;
    EXPECT_FALSE(helper.Initialise(changed.c_str()));
    EXPECT_FALSE(IsLoaded(changed));
}

TEST(VexaPublicDLLHelperTest, UnloadsASignedLibraryWithoutEntryPoints) {
    CVexaBaseHelper helper;
    EXPECT_FALSE(helper.Initialise(FixturePath(L"sample-signed.dll").c_str()));
    EXPECT_EQ(helper.GetModule(), nullptr);
    EXPECT_FALSE(IsLoaded(FixturePath(L"sample-signed.dll")));
}

TEST(VexaPublicDLLHelperTest, ALibraryWithOnlyCreateObjectIsEnough) {
    CVexaBaseHelper helper;
    ASSERT_TRUE(helper.Initialise(FixturePath(L"object-only-base.dll").c_str()));
    EXPECT_NE(helper.GetCreateObject(), nullptr);
    EXPECT_EQ(FilledEntries(helper.GetFuncs()), 0u);
}

TEST(VexaPublicDLLHelperTest, TheProcessInstanceIsOne) {
    EXPECT_EQ(&CVexaBaseHelper::GetInstance(), &CVexaBaseHelper::GetInstance());
}
