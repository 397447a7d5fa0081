#include "app/VexaPublicDLLHelper.h"

#include "unit/TestPaths.h"

#include <gtest/gtest.h>

namespace {

bool IsLoaded(const std::wstring& path) {
    return ::GetModuleHandleW(path.c_str()) != nullptr;
}

} // namespace

TEST(VexaPublicDLLHelperTest, LaterCallsReturnTheFirstResult) {
    // Nothing of that name where a bare name would otherwise be looked for.
    ASSERT_EQ(::GetFileAttributesW(L"Vexabase.dll"), INVALID_FILE_ATTRIBUTES);
    CVexaBaseHelper helper;
    ASSERT_TRUE(helper.Initialise(ShippedPath(L"Vexabase.dll").c_str()));
    const HMODULE first = helper.GetModule();
    EXPECT_TRUE(helper.Initialise(FixturePath(L"sample-unsigned.dll").c_str()));
    EXPECT_EQ(helper.GetModule(), first);
    EXPECT_FALSE(IsLoaded(FixturePath(L"sample-unsigned.dll")));

    CVexaBaseHelper failed;
    EXPECT_FALSE(failed.Initialise(FixturePath(L"sample-unsigned.dll").c_str()));
    EXPECT_FALSE(failed.Initialise(ShippedPath(L"Vexabase.dll").c_str()));
    EXPECT_EQ(failed.GetModule(), nullptr);

    // A bare name finds the module already loaded.
    CVexaBaseHelper byName;
    ASSERT_TRUE(byName.Initialise(L"Vexabase.dll"));
    EXPECT_EQ(byName.GetModule(), first);
    EXPECT_NE(byName.GetFuncs().entries[kVexaIsTrustedFileEntry], nullptr);
}

TEST(VexaPublicDLLHelperTest, RefusesToLoadWhatFailsTheSignatureTestOrOffersNoEntry) {
    for (const wchar_t* name : {L"sample-unsigned.dll", L"sample-changed.dll", L"sample-foreign.dll"}) {
        CVexaBaseHelper helper;
        EXPECT_FALSE(helper.Initialise(FixturePath(name).c_str())) << name;
        EXPECT_FALSE(IsLoaded(FixturePath(name))) << name;
    }
    // Signed but with neither entry point: loaded to look, then unloaded.
    CVexaBaseHelper noEntries;
    EXPECT_FALSE(noEntries.Initialise(FixturePath(L"sample-signed.dll").c_str()));
    EXPECT_EQ(noEntries.GetModule(), nullptr);
    EXPECT_FALSE(IsLoaded(FixturePath(L"sample-signed.dll")));
}
