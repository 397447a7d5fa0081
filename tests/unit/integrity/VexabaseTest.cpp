#include "app/base/ScopedHandle.h"
#include "integrity/VexaBaseExportFuncs.h"
#include "integrity/VexaFileTrust.h"
#include "unit/integrity/IntegrityFixtures.h"

#include <gtest/gtest.h>

// The shipped library's exports, called directly; what they answer about files is checked through the
// program's own trust test.
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

    CModule m_module;
    PFN_VexaInitLibs m_initLibs = nullptr;
    PFN_VexaCreateObject m_createObject = nullptr;
};

TEST_F(VexabaseTest, InitLibsFillsOnlyEntryTenOfAWholeTable) {
    CVexaBaseExportFuncs funcs{};
    std::fill(std::begin(funcs.entries), std::end(funcs.entries), reinterpret_cast<void*>(1));
    funcs.count = kVexaBaseEntryCount;
    ASSERT_EQ(m_initLibs(&funcs.count), 0);
    EXPECT_EQ(funcs.count, kVexaBaseEntryCount);
    for (size_t i = 0; i < kVexaBaseEntryCount; ++i) {
        EXPECT_EQ(funcs.entries[i] != nullptr, i == kVexaIsTrustedFileEntry) << i;
    }

    CVexaBaseExportFuncs small{};
    small.count = kVexaIsTrustedFileEntry + 1;
    EXPECT_NE(m_initLibs(&small.count), 0);
    EXPECT_EQ(small.entries[kVexaIsTrustedFileEntry], nullptr);
    EXPECT_NE(m_initLibs(nullptr), 0);
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
    void* unknown = nullptr;
    ASSERT_EQ(trust->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, object);
    EXPECT_EQ(trust->QueryInterface(CLSID_VexaFileTrust, &unknown), E_NOINTERFACE);
    EXPECT_EQ(unknown, nullptr);
    EXPECT_EQ(trust->Release(), 1u);
    EXPECT_EQ(trust->Release(), 0u);
}
