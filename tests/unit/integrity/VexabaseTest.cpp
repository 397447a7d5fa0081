#include "app/ScopedHandle.h"
#include "integrity/SystemTrust.h"
#include "integrity/VexaBaseExportFuncs.h"
#include "integrity/VexaFileTrust.h"
#include "unit/integrity/IntegrityFixtures.h"

#include <gtest/gtest.h>

namespace {

// The shipped library, loaded as a plain module: these tests are about its exports.
class VexabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_module.Reset(::LoadLibraryW(ShippedPath(L"Vexabase.dll").c_str()));
        ASSERT_TRUE(m_module);
        m_initLibs = Proc<PFN_VexaInitLibs>("InitLibs");
        m_createObject = Proc<PFN_VexaCreateObject>("CreateObject");
        ASSERT_NE(m_initLibs, nullptr);
        ASSERT_NE(m_createObject, nullptr);
    }

    template <class T> T Proc(const char* name) {
        return reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(m_module.Get(), name)));
    }

    PFN_VexaIsTrustedFile Entry10() {
        CVexaBaseExportFuncs funcs{};
        funcs.count = kVexaBaseEntryCount;
        return m_initLibs(&funcs.count) == 0
                   ? reinterpret_cast<PFN_VexaIsTrustedFile>(funcs.entries[kVexaIsTrustedFileEntry])
                   : nullptr;
    }

    CModule m_module;
    PFN_VexaInitLibs m_initLibs = nullptr;
    PFN_VexaCreateObject m_createObject = nullptr;
};

} // namespace

TEST_F(VexabaseTest, InitLibsFillsOnlyEntryTen) {
    CVexaBaseExportFuncs funcs{};
    std::fill(std::begin(funcs.entries), std::end(funcs.entries), reinterpret_cast<void*>(1));
    funcs.count = kVexaBaseEntryCount;
    ASSERT_EQ(m_initLibs(&funcs.count), 0);
    EXPECT_EQ(funcs.count, kVexaBaseEntryCount);
    for (size_t i = 0; i < kVexaBaseEntryCount; ++i) {
        EXPECT_EQ(funcs.entries[i] != nullptr, i == kVexaIsTrustedFileEntry) << i;
    }
}

TEST_F(VexabaseTest, InitLibsRefusesATableTooSmall) {
    CVexaBaseExportFuncs funcs{};
    funcs.count = kVexaIsTrustedFileEntry + 1;
    EXPECT_NE(m_initLibs(&funcs.count), 0);
    EXPECT_EQ(funcs.entries[kVexaIsTrustedFileEntry], nullptr);
    EXPECT_NE(m_initLibs(nullptr), 0);
}

TEST_F(VexabaseTest, EntryTenAnswersTheTrustQuestion) {
    const PFN_VexaIsTrustedFile answer = Entry10();
    ASSERT_NE(answer, nullptr);
    int kind = -1;
    EXPECT_TRUE(answer(FixturePath(L"sample-signed.dll").c_str(), &kind));
    EXPECT_EQ(kind, kVexaTrustPublisher);
    for (const wchar_t* name : {L"sample-unsigned.dll", L"sample-changed.dll", L"missing.dll"}) {
        kind = -1;
        EXPECT_FALSE(answer(FixturePath(name).c_str(), &kind)) << name;
        EXPECT_EQ(kind, kVexaTrustNone) << name;
    }
    // Another key: a third party's file when the system trusts its self-signed chain (Wine does,
    // Windows does not), a foreign one otherwise; yes only in the first case.
    const std::wstring foreign = FixturePath(L"sample-foreign.dll");
    const bool chainTrusted = IsChainTrustedBySystem(foreign.c_str());
    kind = -1;
    EXPECT_EQ(answer(foreign.c_str(), &kind) != FALSE, chainTrusted);
    EXPECT_EQ(kind, chainTrusted ? kVexaTrustThirdParty : kVexaTrustForeign);
    EXPECT_TRUE(answer(FixturePath(L"sample-signed.dll").c_str(), nullptr));
}

TEST_F(VexabaseTest, CreateObjectMakesTheTrustObjectOnlyForItsClass) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(m_createObject(IID_IVexaFileTrust, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(m_createObject(CLSID_VexaFileTrust, nullptr), E_POINTER);

    ASSERT_EQ(m_createObject(CLSID_VexaFileTrust, &object), S_OK);
    auto* trust = static_cast<IVexaFileTrust*>(object);
    int kind = -1;
    EXPECT_TRUE(trust->IsTrustedFile(FixturePath(L"sample-signed.dll").c_str(), &kind));
    EXPECT_EQ(kind, kVexaTrustPublisher);
    EXPECT_FALSE(trust->IsTrustedFile(FixturePath(L"sample-changed.dll").c_str(), &kind));
    EXPECT_EQ(kind, kVexaTrustNone);

    void* unknown = nullptr;
    ASSERT_EQ(trust->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, object);
    EXPECT_EQ(trust->QueryInterface(CLSID_VexaFileTrust, &unknown), E_NOINTERFACE);
    EXPECT_EQ(unknown, nullptr);
    EXPECT_EQ(trust->Release(), 1u);
    EXPECT_EQ(trust->Release(), 0u);
}
