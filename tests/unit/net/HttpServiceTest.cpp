#include "net/HttpService.h"

#include "app/TrustedFile.h"
#include "net/HttpTaskDeletor.h"
#include "unit/app/ScratchFolder.h"
#include "unit/net/DemoService.h"
#include "unit/net/HttpRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::wstring ShippedFolder() {
    return CDemoService::TestsFolder() + L"\\..\\bin";
}

bool CopyLibrary(const std::wstring& folder) {
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return ::CopyFileW((ShippedFolder() + L"\\VexaNetUL.dll").c_str(), (folder + L"\\VexaNetUL.dll").c_str(), FALSE) !=
           FALSE;
}

} // namespace

class HttpServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CVexaBaseHelper::GetInstance().Initialise((ShippedFolder() + L"\\Vexabase.dll").c_str()));
    }
};

TEST_F(HttpServiceTest, TasksComeOnlyFromATrustedLibraryBesideTheProgramOrInWallpaperHelper) {
    CScratchFolder scratch(L"netul");
    ASSERT_TRUE(scratch.IsCreated());

    CHttpService missing;
    EXPECT_FALSE(missing.InitFromFolder(scratch.Path()));
    EXPECT_EQ(missing.CreateTask(), nullptr);

    ASSERT_TRUE(CopyLibrary(scratch / L"wallpaperhelper"));
    CHttpService helperFolder;
    EXPECT_TRUE(helperFolder.InitFromFolder(scratch.Path()));
    EXPECT_TRUE(helperFolder.IsInitialised());
    helperFolder.Shutdown();
    EXPECT_FALSE(helperFolder.IsInitialised());

    // A copy changed after signing fails the trusted-file test and is never loaded.
    const std::wstring changed = scratch / L"changed";
    ASSERT_TRUE(CopyLibrary(changed));
    const std::wstring changedFile = changed + L"\\VexaNetUL.dll";
    std::string bytes = CScratchFolder::ReadFileText(changedFile);
    ASSERT_GT(bytes.size(), 1024u);
    bytes[bytes.size() / 2] ^= 0x5a;
    ASSERT_TRUE(CScratchFolder::WriteFileText(changedFile, bytes));
    EXPECT_FALSE(IsTrustedFile(changedFile.c_str()));
    CHttpService untrusted;
    EXPECT_FALSE(untrusted.InitFromFolder(changed));
    EXPECT_EQ(untrusted.CreateTask(), nullptr);
    EXPECT_EQ(::GetModuleHandleW(changedFile.c_str()), nullptr);
}

TEST_F(HttpServiceTest, CreatedTasksFetchWithCompressionOffUntilShutdown) {
    CDemoService service;
    ASSERT_TRUE(service.IsRunning());
    CHttpService http;
    ASSERT_TRUE(http.InitFromFolder(ShippedFolder()));
    EXPECT_TRUE(http.InitFromFolder(L"C:\\nowhere")) << "a second Init keeps the first result";

    CHttpRecorder recorder;
    {
        std::shared_ptr<IHttpTask> task(http.CreateTask(), HttpTaskDeletor());
        ASSERT_TRUE(task);
        task->SetCallback(&recorder);
        ASSERT_TRUE(task->Start(0, service.Url(L"/test/headers").c_str()));
        ASSERT_TRUE(recorder.WaitFinal(10000));
    }
    EXPECT_EQ(recorder.Final().state, kHttpTaskFinished);
    EXPECT_NE(recorder.Final().body.find("\"Host\""), std::string::npos);
    EXPECT_EQ(recorder.Final().body.find("gzip"), std::string::npos) << recorder.Final().body;

    CHttpRecorder compressed;
    {
        std::shared_ptr<IHttpTask> task(http.CreateTask(), HttpTaskDeletor());
        task->SetCallback(&compressed);
        ASSERT_TRUE(task->Start(0, service.Url(L"/test/gzip").c_str()));
        ASSERT_TRUE(compressed.WaitFinal(10000));
    }
    EXPECT_EQ(compressed.Final().body.substr(0, 2), "\x1f\x8b");

    // A transfer still running at shutdown is silenced: no report after Shutdown returns.
    CHttpRecorder running;
    IHttpTask* endless = http.CreateTask();
    endless->SetCallback(&running);
    ASSERT_TRUE(endless->Start(0, service.Url(L"/test/endless").c_str()));
    ::Sleep(200);
    http.Shutdown();
    const size_t reported = running.Entries().size();
    ::Sleep(300);
    EXPECT_EQ(running.Entries().size(), reported);
    EXPECT_EQ(running.FinalCount(), 0u);
}
