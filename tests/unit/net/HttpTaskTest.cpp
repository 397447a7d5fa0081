#include "net/HttpTaskDeletor.h"
#include "app/base/IHttpTask.h"
#include "unit/net/DemoService.h"
#include "unit/net/HttpRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using TaskPtr = std::shared_ptr<IHttpTask>;

// Tasks of the built library (bin\VexaNetUL.dll beside the tests) against one sample-data service.
class HttpTaskTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_service = new CDemoService();
        HMODULE library = ::LoadLibraryW(ShippedPath(L"VexaNetUL.dll").c_str());
        const auto init = reinterpret_cast<PFN_HttpInit>(
            library ? reinterpret_cast<void*>(::GetProcAddress(library, "HttpInit")) : nullptr);
        s_manager = init ? init() : nullptr;
    }
    static void TearDownTestSuite() { delete s_service; }

    void SetUp() override {
        ASSERT_TRUE(s_service->IsRunning()) << "the sample-data service did not start";
        ASSERT_NE(s_manager, nullptr) << "VexaNetUL.dll gave no manager";
    }

    TaskPtr NewTask(IHttpTaskCallback* callback) {
        TaskPtr task(s_manager->CreateTask(), HttpTaskDeletor());
        if (task) {
            task->SetCallback(callback);
            task->SetOption("receive_timeout", 5000);
            task->SetOption("connect_timeout", 2000);
        }
        return task;
    }

    // Starts a GET of url (a path on the service, or a whole URL) and waits for its final report.
    void Fetch(CHttpRecorder& recorder, const std::wstring& url, TaskPtr task = nullptr) {
        task = task ? task : NewTask(&recorder);
        ASSERT_TRUE(task);
        ASSERT_TRUE(task->Start(0, (url[0] == L'/' ? s_service->Url(url) : url).c_str()));
        ASSERT_TRUE(recorder.WaitFinal(10000)) << "no final report";
    }

    // 0, any number of 1, exactly one final report, and nothing after it.
    static void ExpectWellFormedSequence(const CHttpRecorder& recorder) {
        ::Sleep(50);
        const auto entries = recorder.Entries();
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(entries.front().state, kHttpTaskStarted);
        EXPECT_GE(entries.back().state, kHttpTaskFinished);
        for (size_t i = 1; i + 1 < entries.size(); ++i) {
            EXPECT_EQ(entries[i].state, kHttpTaskProgress) << "report " << i;
        }
        EXPECT_EQ(recorder.FinalCount(), 1u);
    }

    static inline CDemoService* s_service = nullptr;
    static inline IHttpManager* s_manager = nullptr;
};

// A silent server included: with a short receive time-out every failure is reported well within 2.5 s.
TEST_F(HttpTaskTest, FailuresEndInStateThree) {
    const struct {
        std::wstring url;
        uint32_t status;
    } cases[] = {
        {L"http://127.0.0.1:" + std::to_wstring(CDemoService::UnusedPort()) + L"/", 0},
        {L"/test/404", 404},
        {L"/data?fault=500", 500},
        {L"/test/reset?size=200000", 200},
        {L"/test/slow?delay=4000", 0},
        {L"ftp://127.0.0.1/file", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.url.begin(), c.url.end()));
        CHttpRecorder recorder;
        TaskPtr task = NewTask(&recorder);
        task->SetOption("receive_timeout", 300);
        const ULONGLONG started = ::GetTickCount64();
        Fetch(recorder, c.url, task);
        ExpectWellFormedSequence(recorder);
        EXPECT_EQ(recorder.Final().state, kHttpTaskFailed);
        EXPECT_EQ(recorder.Final().statusCode, c.status);
        EXPECT_LT(recorder.Final().tick - started, 2500u);
        if (c.status == 404) {
            EXPECT_EQ(recorder.Final().body, "fault 404\n") << "an error page still comes with its body";
        }
    }
}

TEST_F(HttpTaskTest, ReleaseMidTransferEndsTheReports) {
    for (const wchar_t* path : {L"/test/endless", L"/test/drip?size=100000&chunk=1000&delay=20"}) {
        CHttpRecorder recorder;
        IHttpTask* task = s_manager->CreateTask();
        ASSERT_NE(task, nullptr);
        task->SetCallback(&recorder);
        ASSERT_TRUE(task->Start(0, s_service->Url(path).c_str()));
        for (int i = 0; i < 100 && recorder.Entries().empty(); ++i) {
            ::Sleep(20);
        }
        ::Sleep(200); // well inside the body
        task->Release();
        const size_t reported = recorder.Entries().size();
        EXPECT_GE(reported, 1u) << "the transfer had not started";
        ::Sleep(400);
        EXPECT_EQ(recorder.Entries().size(), reported) << "a report after Release";
        EXPECT_EQ(recorder.FinalCount(), 0u);
    }
}

// A host written as an address is not looked up, a named one is: both reach the service.
TEST_F(HttpTaskTest, HostsByAddressAndByNameFetchAlike) {
    for (const wchar_t* host : {L"127.0.0.1", L"localhost"}) {
        SCOPED_TRACE(std::string(host, host + std::char_traits<wchar_t>::length(host)));
        CHttpRecorder recorder;
        Fetch(recorder,
              L"http://" + std::wstring(host) + L":" + std::to_wstring(s_service->Port()) + L"/test/ok?size=300");
        ExpectWellFormedSequence(recorder);
        EXPECT_EQ(recorder.Final().state, kHttpTaskFinished);
        EXPECT_EQ(recorder.Final().body.size(), 300u);
    }
}
