#include "net/Statistic.h"

#include "app/IniSettings.h"
#include "app/TrustedFile.h"
#include "integrity/MachineId.h"
#include "net/HttpService.h"
#include "net/ServiceHosts.h"
#include "unit/net/DemoService.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A task that only records what the reporter does with it.
class CFakeTask : public IHttpTask {
public:
    void STDMETHODCALLTYPE SetCallback(IHttpTaskCallback* c) override { callback = c; }
    bool STDMETHODCALLTYPE Start(int, const wchar_t* u) override {
        url = u;
        return true;
    }
    void STDMETHODCALLTYPE Release() override { ++releases; }
    bool STDMETHODCALLTYPE AddHeader(const char* name, const char* value) override {
        headers += std::string(name) + ": " + value + "\n";
        return true;
    }
    bool STDMETHODCALLTYPE SetSaveFile(const wchar_t*) override { return true; }
    bool STDMETHODCALLTYPE SetOption(const char*, int) override { return true; }

    void Report(uint32_t state) {
        HTTP_INFO info = {};
        info.size = sizeof(info);
        info.state = state;
        callback->OnHttpTask(this, &info);
    }

    IHttpTaskCallback* callback = nullptr;
    std::wstring url;
    std::string headers;
    int releases = 0;
};

} // namespace

TEST(StatisticTest, EachReportStartsItsOwnTaskReleasedWhenItsTransferEnds) {
    std::vector<CFakeTask> tasks(2);
    size_t created = 0;
    int pidAsked = 0, appverAsked = 0;
    const auto pid = [&] {
        ++pidAsked;
        return std::wstring(L"unkown");
    };
    const auto appver = [&] {
        ++appverAsked;
        return std::wstring();
    };
    CStatistic statistic(
        {pid, [] { return std::wstring(L"m1"); }, appver, [] { return std::wstring(L"1.2.3.4"); }},
        [&]() -> IHttpTask* { return created < tasks.size() ? &tasks[created++] : nullptr; },
        [] { return std::wstring(L"http://stats.example"); });

    EXPECT_FALSE(statistic.Report(nullptr, L"x"));
    EXPECT_FALSE(statistic.Report(L"bizhi", nullptr));
    ASSERT_TRUE(statistic.Report(L"bizhi", L"weather_show"));
    ASSERT_TRUE(statistic.Report(L"a b", L"x&y=1"));
    EXPECT_FALSE(statistic.Report(L"bizhi", L"news_show")) << "no task to be had";
    const std::wstring fields = L"http://stats.example/bizhi?pid=unkown&mid=m1&appver=&modver=1.2.3.4";
    EXPECT_EQ(tasks[0].url, fields + L"&type=bizhi&action=weather_show");
    EXPECT_EQ(tasks[1].url, fields + L"&type=a b&action=x&y=1") << "values go in unencoded";
    // A field is asked for once, an empty one again at every report.
    EXPECT_EQ(pidAsked, 1);
    EXPECT_EQ(appverAsked, 3);
    for (const CFakeTask& task : tasks) {
        EXPECT_EQ(task.callback, &statistic);
        EXPECT_EQ(task.headers, "Connection: Close\n");
    }

    // Progress leaves the task alone; each final report releases only its own task.
    tasks[1].Report(kHttpTaskStarted);
    tasks[1].Report(kHttpTaskProgress);
    EXPECT_EQ(tasks[1].releases, 0);
    tasks[1].Report(kHttpTaskFailed);
    EXPECT_EQ(tasks[0].releases, 0);
    EXPECT_EQ(tasks[1].releases, 1);
    tasks[0].Report(kHttpTaskFinished);
    EXPECT_EQ(tasks[0].releases, 1);
}

// The process's reporter, wired to the settings store, the machine id, file versions, CHttpService and
// CServiceHosts: the test program has no version and no "Vexawpapp.exe" beside it.
TEST(StatisticTest, TheProcesssReporterSendsItsFieldsToTheStatsHost) {
    CDemoService service;
    ASSERT_TRUE(service.IsRunning());
    const std::wstring bin = TestProgramFolder() + L"\\..\\bin";
    ASSERT_TRUE(CVexaBaseHelper::GetInstance().Initialise((bin + L"\\Vexabase.dll").c_str()));
    ASSERT_TRUE(CHttpService::GetInstance()->InitFromFolder(bin));
    const std::wstring base = service.Url(L"");
    CServiceHosts::GetInstance()->Parse("[hosts]\nstats=" + std::string(base.begin(), base.end()));

    ASSERT_TRUE(CStatistic::GetInstance()->Report(L"bizhi", L"calendar_show"));
    std::string events;
    for (int i = 0; i < 100 && events.find("calendar_show") == std::string::npos; ++i) {
        ::Sleep(50);
        events = service.Get(L"/bizhi/list");
    }
    // Silences any final report still on its way: the library goes before the next test.
    CHttpService::GetInstance()->Shutdown();

    const std::wstring pid = CIniSettings::GetInstance()->GetRegPid();
    const std::wstring mid = GetMachineId();
    const std::string query = "pid=" + std::string(pid.begin(), pid.end()) +
                              "&mid=" + std::string(mid.begin(), mid.end()) +
                              "&appver=&modver=&type=bizhi&action=calendar_show";
    EXPECT_NE(events.find("\"query\": \"" + query + "\""), std::string::npos) << events;
    EXPECT_NE(events.find("\"connection\": \"Close\""), std::string::npos) << events;
}
