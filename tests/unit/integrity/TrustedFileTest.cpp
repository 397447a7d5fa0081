#include "app/TrustedFile.h"

#include "integrity/SystemTrust.h"
#include "unit/TestPaths.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>

namespace {

// Asks library about each fixture and expects (trusted, kind) for it.
void ExpectAnswers(CVexaBaseHelper& library, std::initializer_list<std::tuple<const wchar_t*, bool, int>> rows) {
    for (const auto& [name, trusted, kind] : rows) {
        int answer = -1;
        EXPECT_EQ(IsTrustedFileBy(library, FixturePath(name).c_str(), &answer), trusted) << name;
        EXPECT_EQ(answer, kind) << name;
    }
}

} // namespace

// The shipped library answers through entry 10; the stand-in without "InitLibs" through its object.
TEST(TrustedFileTest, AsksTheLibraryThroughEntryTenOrItsObject) {
    // Whether the system trusts the foreign key's self-signed chain (Wine does, Windows does not)
    // decides what the library calls that file; either way the program says no.
    const int foreignKind =
        IsChainTrustedBySystem(FixturePath(L"sample-foreign.dll").c_str()) ? kVexaTrustThirdParty : kVexaTrustForeign;
    for (const std::wstring& path : {ShippedPath(L"Vexabase.dll"), FixturePath(L"object-only-base.dll")}) {
        SCOPED_TRACE(path);
        CVexaBaseHelper library;
        ASSERT_TRUE(library.Initialise(path.c_str()));
        ExpectAnswers(library, {{L"sample-signed.dll", true, kVexaTrustPublisher},
                                {L"sample-unsigned.dll", false, kVexaTrustNone},
                                {L"sample-changed.dll", false, kVexaTrustNone},
                                {L"sample-foreign.dll", false, foreignKind}});
    }
}

// This library's entry 10 says yes, kind 3, to everything, while its object tells the truth.
TEST(TrustedFileTest, PrefersEntryTenAndCountsAThirdPartyYesAsNo) {
    CVexaBaseHelper library;
    ASSERT_TRUE(library.Initialise(FixturePath(L"third-party-base.dll").c_str()));
    ExpectAnswers(library, {{L"sample-signed.dll", true, kVexaTrustThirdParty},
                            {L"sample-unsigned.dll", false, kVexaTrustThirdParty},
                            {L"sample-changed.dll", false, kVexaTrustThirdParty},
                            {L"sample-foreign.dll", false, kVexaTrustThirdParty}});
}

TEST(TrustedFileTest, NothingIsTrustedWithoutTheLibraryStartUpLoaded) {
    CVexaBaseHelper none;
    EXPECT_FALSE(none.Initialise(FixturePath(L"sample-unsigned.dll").c_str()));
    ExpectAnswers(none, {{L"sample-signed.dll", false, kVexaTrustNone}});

    ASSERT_TRUE(CVexaBaseHelper::GetInstance().Initialise(ShippedPath(L"Vexabase.dll").c_str()));
    int kind = -1;
    EXPECT_TRUE(IsTrustedFile(ShippedPath(L"deskling.exe").c_str()));
    EXPECT_FALSE(IsTrustedFile(FixturePath(L"sample-changed.dll").c_str(), &kind));
    EXPECT_EQ(kind, kVexaTrustNone);
    EXPECT_FALSE(IsTrustedFile(nullptr, &kind));
}
