#pragma once

#include "net/IHttpTask.h"
#include "unit/net/DemoService.h"

#include <gtest/gtest.h>
#include <windows.h>

// A test suite that talks to the sample-data service through the built task library
// (bin\VexaNetUL.dll beside the tests): one service per suite, one library for the program.
class CDemoServiceSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_service = new CDemoService();
        s_manager = TaskLibraryManager();
    }
    static void TearDownTestSuite() {
        delete s_service;
        s_service = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(s_service->IsRunning()) << "the sample-data service did not start";
        ASSERT_NE(s_manager, nullptr) << "VexaNetUL.dll gave no manager";
    }

    static IHttpManager* TaskLibraryManager() {
        static IHttpManager* const manager = [] {
            HMODULE library = ::LoadLibraryW((CDemoService::TestsFolder() + L"\\..\\bin\\VexaNetUL.dll").c_str());
            auto init =
                library ? reinterpret_cast<PFN_HttpInit>(reinterpret_cast<void*>(::GetProcAddress(library, "HttpInit")))
                        : nullptr;
            return init ? init() : nullptr;
        }();
        return manager;
    }

    static inline CDemoService* s_service = nullptr;
    static inline IHttpManager* s_manager = nullptr;
};
