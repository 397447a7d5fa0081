#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/TrustedFile.h"
#include "net/HttpService.h"
#include "unit/net/DemoService.h"

// A suite of model tests against the sample-data service, through the real HTTP library of the runnable
// tree: one service and one HTTP service for the whole suite.
class CDemoServiceSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::wstring shipped = TestProgramFolder() + L"\\..\\bin";
        s_service = std::make_unique<CDemoService>();
        // The HTTP library is loaded only once the base library can vouch for it.
        CVexaBaseHelper::GetInstance().Initialise((shipped + L"\\Vexabase.dll").c_str());
        s_http = std::make_unique<CHttpService>();
        s_http->InitFromFolder(shipped);
    }
    static void TearDownTestSuite() {
        s_http.reset();
        s_service.reset();
    }

    static inline std::unique_ptr<CDemoService> s_service;
    static inline std::unique_ptr<CHttpService> s_http;
};
