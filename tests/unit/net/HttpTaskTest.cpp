#include "net/HttpTaskDeletor.h"
#include "unit/net/DemoServiceSuite.h"
#include "unit/net/HttpRecorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using TaskPtr = std::shared_ptr<IHttpTask>;

} // namespace

class HttpTaskTest : public CDemoServiceSuite {
protected:
    TaskPtr NewTask(IHttpTaskCallback* callback) {
        TaskPtr task(s_manager->CreateTask(), HttpTaskDeletor());
        if (task) {
            task->SetCallback(callback);
            task->SetOption("receive_timeout", 5000);
            task->SetOption("connect_timeout", 2000);
        }
        return task;
    }

    // Fetches path and returns the recorder once the final report arrived (or 10 s passed).
    void Fetch(CHttpRecorder& recorder, const std::wstring& path) {
        TaskPtr task = NewTask(&recorder);
        ASSERT_TRUE(task);
        ASSERT_TRUE(task->Start(0, s_service->Url(path).c_str()));
        ASSERT_TRUE(recorder.WaitFinal(10000)) << "no final report";
    }

    static void ExpectWellFormedSequence(const std::vector<CHttpRecorder::Entry>& entries) {
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(entries.front().state, kHttpTaskStarted);
        EXPECT_GE(entries.back().state, kHttpTaskFinished);
        for (size_t i = 1; i + 1 < entries.size(); ++i) {
            EXPECT_EQ(entries[i].state, kHttpTaskProgress) << "report " << i;
        }
    }
};

TEST_F(HttpTaskTest, ReportsStartProgressAndOneFinalWithTheBodyOnTheLibrarysThread) {
    CHttpRecorder recorder;
    Fetch(recorder, L"/test/drip?size=20000&chunk=2000&delay=10");
    ::Sleep(100);
    const auto entries = recorder.Entries();
    ExpectWellFormedSequence(entries);
    EXPECT_EQ(recorder.FinalCount(), 1u);
    const CHttpRecorder::Entry last = entries.back();
    EXPECT_EQ(last.state, kHttpTaskFinished);
    EXPECT_EQ(last.statusCode, 200u);
    EXPECT_TRUE(last.hasBody);
    EXPECT_EQ(last.body, CDemoService::Pattern(20000));
    EXPECT_NE(last.threadId, ::GetCurrentThreadId());
    // Ten slow chunks of a known length: percentages rise to 100.
    std::vector<uint32_t> percents;
    for (const auto& entry : entries) {
        if (entry.state == kHttpTaskProgress) {
            percents.push_back(entry.progress);
        }
    }
    ASSERT_GE(percents.size(), 2u);
    for (size_t i = 1; i < percents.size(); ++i) {
        EXPECT_GT(percents[i], percents[i - 1]);
    }
    EXPECT_LT(percents.front(), 100u);
    EXPECT_EQ(percents.back(), 100u);
}

TEST_F(HttpTaskTest, SmallBodiesRedirectsAndCompressedBodies) {
    CHttpRecorder small;
    Fetch(small, L"/test/ok?size=70");
    EXPECT_EQ(small.Final().state, kHttpTaskFinished);
    EXPECT_EQ(small.Final().body, CDemoService::Pattern(70));

    CHttpRecorder redirected;
    Fetch(redirected, L"/test/redirect?hops=3&to=/test/ok%3Fsize%3D5");
    EXPECT_EQ(redirected.Final().state, kHttpTaskFinished);
    EXPECT_EQ(redirected.Final().body, "01234");

    CHttpRecorder raw;
    TaskPtr task = NewTask(&raw);
    task->SetOption("ungzip", 0);
    task->SetOption("gzip", 0);
    ASSERT_TRUE(task->Start(0, s_service->Url(L"/test/gzip?text=hello").c_str()));
    ASSERT_TRUE(raw.WaitFinal(10000));
    EXPECT_EQ(raw.Final().state, kHttpTaskFinished);
    EXPECT_EQ(raw.Final().body.substr(0, 2), "\x1f\x8b") << "with ungzip off the body stays compressed";
}

TEST_F(HttpTaskTest, SaveFileModeWritesTheBodyToTheFile) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"deskling-save-" + std::to_wstring(::GetCurrentProcessId());
    CHttpRecorder recorder;
    TaskPtr task = NewTask(&recorder);
    ASSERT_TRUE(task->SetSaveFile(path.c_str()));
    ASSERT_TRUE(task->Start(0, s_service->Url(L"/test/ok?size=100000").c_str()));
    ASSERT_TRUE(recorder.WaitFinal(10000));
    EXPECT_EQ(recorder.Final().state, kHttpTaskFinished);
    EXPECT_FALSE(recorder.Final().hasBody);
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    EXPECT_EQ(saved, CDemoService::Pattern(100000));
    ::DeleteFileW(path.c_str());
}

TEST_F(HttpTaskTest, AddedHeadersAndTheGzipOptionReachTheWire) {
    CHttpRecorder plain;
    TaskPtr task = NewTask(&plain);
    EXPECT_TRUE(task->AddHeader("Connection", "Close"));
    EXPECT_TRUE(task->AddHeader("X-Deskling-Test", "yes"));
    EXPECT_FALSE(task->AddHeader("Bad:Name", "x"));
    EXPECT_FALSE(task->AddHeader("X-Split", "a\r\nInjected: 1"));
    task->SetOption("gzip", 0);
    ASSERT_TRUE(task->Start(0, s_service->Url(L"/test/headers").c_str()));
    ASSERT_TRUE(plain.WaitFinal(10000));
    const std::string seen = plain.Final().body;
    EXPECT_NE(seen.find("\"Connection\": \"Close\""), std::string::npos) << seen;
    EXPECT_NE(seen.find("\"X-Deskling-Test\": \"yes\""), std::string::npos) << seen;
    EXPECT_EQ(seen.find("Injected"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("gzip"), std::string::npos) << seen;

    CHttpRecorder asking;
    TaskPtr gzipTask = NewTask(&asking);
    gzipTask->SetOption("ungzip", 0);
    ASSERT_TRUE(gzipTask->Start(0, s_service->Url(L"/test/headers").c_str()));
    ASSERT_TRUE(asking.WaitFinal(10000));
    EXPECT_NE(asking.Final().body.find("\"Accept-Encoding\": \"gzip\""), std::string::npos) << asking.Final().body;
}

TEST_F(HttpTaskTest, FailuresEndInStateThree) {
    struct Case {
        std::wstring url;
        uint32_t status;
    };
    const std::wstring refused = L"http://127.0.0.1:" + std::to_wstring(CDemoService::UnusedPort()) + L"/";
    const std::vector<Case> cases = {
        {refused, 0},
        {s_service->Url(L"/test/404"), 404},
        {s_service->Url(L"/data?fault=500"), 500},
        {s_service->Url(L"/test/reset?size=200000"), 200},
        {L"ftp://127.0.0.1/file", 0},
    };
    for (const Case& c : cases) {
        CHttpRecorder recorder;
        TaskPtr task = NewTask(&recorder);
        ASSERT_TRUE(task->Start(0, c.url.c_str()));
        ASSERT_TRUE(recorder.WaitFinal(10000));
        ::Sleep(50);
        ExpectWellFormedSequence(recorder.Entries());
        EXPECT_EQ(recorder.FinalCount(), 1u);
        EXPECT_EQ(recorder.Final().state, kHttpTaskFailed);
        EXPECT_EQ(recorder.Final().statusCode, c.status);
    }
    CHttpRecorder notFound;
    Fetch(notFound, L"/test/404");
    EXPECT_EQ(notFound.Final().body, "fault 404\n");
}

TEST_F(HttpTaskTest, ASilentServerTimesOut) {
    CHttpRecorder recorder;
    TaskPtr task = NewTask(&recorder);
    task->SetOption("receive_timeout", 300);
    const ULONGLONG started = ::GetTickCount64();
    ASSERT_TRUE(task->Start(0, s_service->Url(L"/test/slow?delay=4000").c_str()));
    ASSERT_TRUE(recorder.WaitFinal(10000));
    EXPECT_EQ(recorder.Final().state, kHttpTaskFailed);
    EXPECT_LT(recorder.Final().tick - started, 2500u);
}

TEST_F(HttpTaskTest, ReleaseMidTransferEndsTheReports) {
    for (const wchar_t* path : {L"/test/endless", L"/test/drip?size=100000&chunk=1000&delay=20"}) {
        CHttpRecorder recorder;
        IHttpTask* task = s_manager->CreateTask();
        ASSERT_NE(task, nullptr);
        task->SetCallback(&recorder);
        ASSERT_TRUE(task->Start(0, s_service->Url(path).c_str()));
        // Released well inside the body: after the start report and some data.
        for (int i = 0; i < 100 && recorder.Entries().empty(); ++i) {
            ::Sleep(20);
        }
        ::Sleep(200);
        task->Release();
        const size_t reported = recorder.Entries().size();
        EXPECT_GE(reported, 1u) << "the transfer had not started";
        ::Sleep(400);
        EXPECT_EQ(recorder.Entries().size(), reported) << "a report after Release";
        EXPECT_EQ(recorder.FinalCount(), 0u);
    }
}

TEST_F(HttpTaskTest, ATaskReleasedInItsOwnFinalReportAndATaskReused) {
    CHttpRecorder releasing;
    releasing.ReleaseOnFinal();
    IHttpTask* task = s_manager->CreateTask();
    task->SetCallback(&releasing);
    task->AddHeader("Connection", "Close");
    ASSERT_TRUE(task->Start(0, s_service->Url(L"/bizhi?type=test&action=release").c_str()));
    ASSERT_TRUE(releasing.WaitFinal(10000));
    EXPECT_EQ(releasing.Final().state, kHttpTaskFinished);

    CHttpRecorder first;
    TaskPtr reused = NewTask(&first);
    ASSERT_TRUE(reused->Start(0, s_service->Url(L"/test/slow?delay=300").c_str()));
    EXPECT_FALSE(reused->Start(0, s_service->Url(L"/test/ok").c_str())) << "a second start while running";
    ASSERT_TRUE(first.WaitFinal(10000));
    ::Sleep(50);
    CHttpRecorder second;
    reused->SetCallback(&second);
    ASSERT_TRUE(reused->Start(0, s_service->Url(L"/test/ok?size=3").c_str()));
    ASSERT_TRUE(second.WaitFinal(10000));
    EXPECT_EQ(second.Final().body, "012");
    EXPECT_EQ(first.FinalCount(), 1u);
}

TEST_F(HttpTaskTest, FiftyTasksAtOnceAllComplete) {
    constexpr int kTasks = 50;
    std::vector<std::unique_ptr<CHttpRecorder>> recorders;
    std::vector<TaskPtr> tasks;
    for (int i = 0; i < kTasks; ++i) {
        recorders.push_back(std::make_unique<CHttpRecorder>());
        tasks.push_back(NewTask(recorders.back().get()));
        const std::wstring path = L"/test/drip?size=" + std::to_wstring(3000 + i) + L"&chunk=1000&delay=20";
        ASSERT_TRUE(tasks.back()->Start(0, s_service->Url(path).c_str()));
    }
    for (int i = 0; i < kTasks; ++i) {
        ASSERT_TRUE(recorders[i]->WaitFinal(20000)) << "task " << i;
        EXPECT_EQ(recorders[i]->Final().state, kHttpTaskFinished) << "task " << i;
        EXPECT_EQ(recorders[i]->Final().body, CDemoService::Pattern(3000 + i)) << "task " << i;
    }
}
