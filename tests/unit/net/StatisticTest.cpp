#include "net/Statistic.h"

#include "app/IniSettings.h"
#include "app/TrustedFile.h"
#include "integrity/MachineId.h"
#include "net/HttpService.h"
#include "net/ServiceHosts.h"
#include "unit/net/DemoService.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// A task that only records what the reporter does with it.
class CFakeTask : public IHttpTask {
public:
    void STDMETHODCALLTYPE SetCallback(IHttpTaskCallback* callback) override { this->callback = callback; }
    bool STDMETHODCALLTYPE Start(int mode, const wchar_t* url) override {
        startMode = mode;
        this->url = url;
        return true;
    }
    void STDMETHODCALLTYPE Release() override { ++releases; }
    bool STDMETHODCALLTYPE AddHeader(const char* name, const char* value) override {
        headers.emplace_back(name, value);
        return true;
    }
    bool STDMETHODCALLTYPE SetSaveFile(const wchar_t*) override { return true; }
    bool STDMETHODCALLTYPE SetOption(const char*, int) override { return true; }

    IHttpTaskCallback* callback = nullptr;
    int startMode = -1;
    std::wstring url;
    std::vector<std::pair<std::string, std::string>> headers;
    int releases = 0;
};

void Report(IHttpTaskCallback* callback, IHttpTask* task, uint32_t state) {
    HTTP_INFO info = {};
    info.size = sizeof(info);
    info.state = state;
    callback->OnHttpTask(task, &info);
}

} // namespace

TEST(StatisticTest, EachReportStartsItsOwnTaskReleasedWhenItsTransferEnds) {
    std::vector<CFakeTask> tasks(2);
    size_t created = 0;
    int pidAsked = 0, appverAsked = 0;
    StatisticSources sources{[&] {
                                 ++pidAsked;
                                 return std::wstring(L"unkown");
                             },
                             [] { return std::wstring(L"m1"); },
                             [&] {
                                 ++appverAsked;
                                 return std::wstring();
                             },
                             [] { return std::wstring(L"1.2.3.4"); }};
    CStatistic statistic(
        sources, [&]() -> IHttpTask* { return created < tasks.size() ? &tasks[created++] : nullptr; },
        [] { return std::wstring(L"http://stats.example"); });

    EXPECT_FALSE(statistic.Report(nullptr, L"x"));
    EXPECT_FALSE(statistic.Report(L"bizhi", nullptr));
    EXPECT_EQ(created, 0u);

    ASSERT_TRUE(statistic.Report(L"bizhi", L"weather_show"));
    ASSERT_TRUE(statistic.Report(L"a b", L"x&y=1"));
    EXPECT_FALSE(statistic.Report(L"bizhi", L"news_show")) << "no task to be had";
    EXPECT_EQ(tasks[0].url, L"http://stats.example/bizhi?pid=unkown&mid=m1&appver=&modver=1.2.3.4"
                            L"&type=bizhi&action=weather_show");
    EXPECT_EQ(tasks[1].url, L"http://stats.example/bizhi?pid=unkown&mid=m1&appver=&modver=1.2.3.4"
                            L"&type=a b&action=x&y=1");
    // A field is asked for once, an empty one again at every report.
    EXPECT_EQ(pidAsked, 1);
    EXPECT_EQ(appverAsked, 3);
    for (const CFakeTask& task : tasks) {
        EXPECT_EQ(task.callback, &statistic);
        EXPECT_EQ(task.startMode, 0);
        EXPECT_EQ(task.headers, (std::vector<std::pair<std::string, std::string>>{{"Connection", "Close"}}));
    }

    // Progress leaves the task alone; each final report releases only its own task.
    Report(&statistic, &tasks[1], kHttpTaskStarted);
    Report(&statistic, &tasks[1], kHttpTaskProgress);
    EXPECT_EQ(tasks[1].releases, 0);
    Report(&statistic, &tasks[1], kHttpTaskFailed);
    EXPECT_EQ(tasks[0].releases, 0);
    EXPECT_EQ(tasks[1].releases, 1);
    Report(&statistic, &tasks[0], kHttpTaskFinished);
    EXPECT_EQ(tasks[0].releases, 1);
}

// The process's reporter, wired to the settings store, the machine id, file versions, CHttpService and
// CServiceHosts: the test program has no version and no "Vexawpapp.exe" beside it.
TEST(StatisticTest, TheProcesssReporterSendsItsEventsWithConnectionClose) {
    CDemoService service;
    ASSERT_TRUE(service.IsRunning());
    const std::wstring bin = CDemoService::TestsFolder() + L"\\..\\bin";
    ASSERT_TRUE(CVexaBaseHelper::GetInstance().Initialise((bin + L"\\Vexabase.dll").c_str()));
    ASSERT_TRUE(CHttpService::GetInstance()->InitFromFolder(bin));
    const std::wstring base = service.Url(L"");
    CServiceHosts::GetInstance()->Parse("[hosts]\nstats=" + std::string(base.begin(), base.end()));

    ASSERT_TRUE(CStatistic::GetInstance()->Report(L"bizhi", L"calendar_show"));
    ASSERT_TRUE(CStatistic::GetInstance()->Report(L"bizhi", L"calendar_close"));
    std::string events;
    const auto bothArrived = [&] {
        return events.find("calendar_show") != std::string::npos && events.find("calendar_close") != std::string::npos;
    };
    for (int i = 0; i < 100 && !bothArrived(); ++i) {
        ::Sleep(50);
        events = service.Get(L"/bizhi/list");
    }
    // Silences any final report still on its way: the library goes before the next test.
    CHttpService::GetInstance()->Shutdown();

    const std::wstring pid = CIniSettings::GetInstance()->GetRegPid();
    const std::wstring mid = GetMachineId();
    const std::string query = "pid=" + std::string(pid.begin(), pid.end()) +
                              "&mid=" + std::string(mid.begin(), mid.end()) +
                              "&appver=&modver=&type=bizhi&action=calendar_";
    EXPECT_NE(events.find("\"query\": \"" + query + "show\""), std::string::npos) << events;
    EXPECT_NE(events.find("\"query\": \"" + query + "close\""), std::string::npos) << events;
    EXPECT_EQ(mid.size(), 64u);
    EXPECT_NE(events.find("\"connection\": \"Close\""), std::string::npos) << events;
}
