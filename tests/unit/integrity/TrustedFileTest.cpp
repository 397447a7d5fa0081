#include "app/TrustedFile.h"

#include "integrity/SystemTrust.h"
#include "unit/integrity/IntegrityFixtures.h"

#include <gtest/gtest.h>

namespace {

struct Answer {
    bool trusted;
    int kind;
};

Answer Ask(CVexaBaseHelper& library, const wchar_t* fixture) {
    int kind = -1;
    const bool trusted = IsTrustedFileBy(library, FixturePath(fixture).c_str(), &kind);
    return {trusted, kind};
}

// Whether the system trusts the foreign key's self-signed chain decides what the real library
// calls that file; either way the program says no.
int ForeignKind() {
    return IsChainTrustedBySystem(FixturePath(L"sample-foreign.dll").c_str()) ? kVexaTrustThirdParty
                                                                              : kVexaTrustForeign;
}

void ExpectTruthfulAnswers(CVexaBaseHelper& library) {
    const Answer accepted = Ask(library, L"sample-signed.dll");
    EXPECT_TRUE(accepted.trusted);
    EXPECT_EQ(accepted.kind, kVexaTrustPublisher);
    for (const wchar_t* name : {L"sample-unsigned.dll", L"sample-changed.dll"}) {
        const Answer rejected = Ask(library, name);
        EXPECT_FALSE(rejected.trusted) << name;
        EXPECT_EQ(rejected.kind, kVexaTrustNone) << name;
    }
    const Answer foreign = Ask(library, L"sample-foreign.dll");
    EXPECT_FALSE(foreign.trusted);
    EXPECT_EQ(foreign.kind, ForeignKind());
}

} // namespace

TEST(TrustedFileTest, AsksTheLibraryThroughEntryTen) {
    CVexaBaseHelper library;
    ASSERT_TRUE(library.Initialise(ShippedPath(L"Vexabase.dll").c_str()));
    ExpectTruthfulAnswers(library);
}

TEST(TrustedFileTest, AsksTheLibraryObjectWhenThereIsNoTable) {
    CVexaBaseHelper library;
    ASSERT_TRUE(library.Initialise(FixturePath(L"object-only-base.dll").c_str()));
    ExpectTruthfulAnswers(library);
}

// This library's entry 10 says yes, kind 3, to everything, while its object tells the truth.
TEST(TrustedFileTest, PrefersEntryTenAndCountsAThirdPartyYesAsNo) {
    CVexaBaseHelper library;
    ASSERT_TRUE(library.Initialise(FixturePath(L"third-party-base.dll").c_str()));
    const Answer publisher = Ask(library, L"sample-signed.dll");
    EXPECT_TRUE(publisher.trusted);
    EXPECT_EQ(publisher.kind, kVexaTrustThirdParty);
    for (const wchar_t* name : {L"sample-unsigned.dll", L"sample-changed.dll", L"sample-foreign.dll"}) {
        const Answer rejected = Ask(library, name);
        EXPECT_FALSE(rejected.trusted) << name;
        EXPECT_EQ(rejected.kind, kVexaTrustThirdParty) << name;
    }
}

TEST(TrustedFileTest, NothingIsTrustedWithoutTheLibrary) {
    CVexaBaseHelper library;
    EXPECT_FALSE(library.Initialise(FixturePath(L"sample-unsigned.dll").c_str()));
    const Answer answer = Ask(library, L"sample-signed.dll");
    EXPECT_FALSE(answer.trusted);
    EXPECT_EQ(answer.kind, kVexaTrustNone);
}

TEST(TrustedFileTest, TheProcessWideTestUsesTheLibraryStartUpLoaded) {
    ASSERT_TRUE(CVexaBaseHelper::GetInstance().Initialise(ShippedPath(L"Vexabase.dll").c_str()));
    int kind = -1;
    EXPECT_TRUE(IsTrustedFile(FixturePath(L"sample-signed.dll").c_str(), &kind));
    EXPECT_EQ(kind, kVexaTrustPublisher);
    EXPECT_TRUE(IsTrustedFile(ShippedPath(L"deskling.exe").c_str()));
    EXPECT_FALSE(IsTrustedFile(FixturePath(L"sample-changed.dll").c_str(), &kind));
    EXPECT_EQ(kind, kVexaTrustNone);
    EXPECT_FALSE(IsTrustedFile(nullptr, &kind));
}
