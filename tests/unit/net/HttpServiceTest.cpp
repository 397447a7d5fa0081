#include "net/HttpService.h"

#include "app/TrustedFile.h"
#include "net/HttpTaskDeletor.h"
#include "unit/app/ScratchFolder.h"
#include "unit/net/DemoService.h"
#include "unit/net/HttpRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class HttpServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CVexaBaseHelper::GetInstance().Initialise((m_shipped + L"\\Vexabase.dll").c_str()));
    }

    // Puts source into folder under the library's name.
    static bool CopyAsLibrary(const std::wstring& source, const std::wstring& folder) {
        ::CreateDirectoryW(folder.c_str(), nullptr);
        return ::CopyFileW(source.c_str(), (folder + L"\\VexaNetUL.dll").c_str(), FALSE);
    }

    const std::wstring m_shipped = TestProgramFolder() + L"\\..\\bin";
};

TEST_F(HttpServiceTest, TasksComeOnlyFromATrustedLibraryBesideTheProgramOrInWallpaperHelper) {
    CScratchFolder scratch(L"netul");
    ASSERT_TRUE(scratch.IsCreated());
    CHttpService missing;
    EXPECT_FALSE(missing.InitFromFolder(scratch.Path()));
    EXPECT_EQ(missing.CreateTask(), nullptr);

    ASSERT_TRUE(CopyAsLibrary(m_shipped + L"\\VexaNetUL.dll", scratch / L"wallpaperhelper"));
    CHttpService helperFolder;
    EXPECT_TRUE(helperFolder.InitFromFolder(scratch.Path()));
    helperFolder.Shutdown();
    EXPECT_FALSE(helperFolder.IsInitialised());

    // A library that fails the trusted-file test is never loaded.
    ASSERT_TRUE(CopyAsLibrary(TestProgramFolder() + L"\\integrity\\sample-unsigned.dll", scratch / L"untrusted"));
    CHttpService untrusted;
    EXPECT_FALSE(untrusted.InitFromFolder(scratch / L"untrusted"));
    EXPECT_EQ(untrusted.CreateTask(), nullptr);
    EXPECT_EQ(::GetModuleHandleW((scratch / L"untrusted\\VexaNetUL.dll").c_str()), nullptr);
}

TEST_F(HttpServiceTest, CreatedTasksFetchWithCompressionOffAndReportNothingAfterReleaseOrShutdown) {
    CDemoService service;
    ASSERT_TRUE(service.IsRunning());
    CHttpService http;
    ASSERT_TRUE(http.InitFromFolder(m_shipped));
    EXPECT_TRUE(http.InitFromFolder(L"C:\\nowhere")) << "a second Init keeps the first result";

    const auto fetch = [&](const wchar_t* path) {
        CHttpRecorder recorder;
        std::shared_ptr<IHttpTask> task(http.CreateTask(), HttpTaskDeletor());
        if (!task) {
            return std::string();
        }
        task->SetCallback(&recorder);
        task->Start(0, service.Url(path).c_str());
        return recorder.FinalBody(10000);
    };
    const std::string headers = fetch(L"/test/headers");
    EXPECT_NE(headers.find("\"Host\""), std::string::npos) << headers;
    EXPECT_EQ(headers.find("gzip"), std::string::npos) << "asked for a compressed body: " << headers;
    EXPECT_EQ(fetch(L"/test/gzip").substr(0, 2), "\x1f\x8b") << "decoded a body compressed anyway";

    // A task released while its body is still coming reports nothing more: its owner may be gone.
    CHttpRecorder released;
    IHttpTask* task = http.CreateTask();
    task->SetCallback(&released);
    ASSERT_TRUE(task->Start(0, service.Url(L"/test/drip?size=100000&chunk=1000&delay=20").c_str()));
    ::Sleep(300);
    task->Release();
    const size_t before = released.Reports();
    EXPECT_GE(before, 1u) << "the transfer had not started";
    ::Sleep(400);
    EXPECT_EQ(released.Reports(), before) << "a report after Release";
    EXPECT_EQ(released.FinalCount(), 0u);

    // Transfers still running at shutdown, one receiving and one waiting for a server that does not answer,
    // hold it up for well under a second (their requests are closed, and the wait for them is bounded), and
    // no report follows once Shutdown returns.
    CHttpRecorder running;
    for (const wchar_t* path : {L"/test/endless", L"/test/slow?delay=20000"}) {
        task = http.CreateTask();
        task->SetCallback(&running);
        ASSERT_TRUE(task->Start(0, service.Url(path).c_str()));
    }
    ::Sleep(200);
    const ULONGLONG started = ::GetTickCount64();
    http.Shutdown();
    EXPECT_LT(::GetTickCount64() - started, 1000u);
    const size_t reported = running.Reports();
    ::Sleep(300);
    EXPECT_EQ(running.Reports(), reported);
    EXPECT_EQ(running.FinalCount(), 0u);
}
