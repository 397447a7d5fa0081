#include "net/DownloadToFile.h"

#include "unit/app/ScratchFolder.h"
#include "unit/net/DemoService.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

static constexpr uint64_t kAnySize = UINT64_MAX;

TEST(DownloadToFileTest, SavesWhateverTheServerSendsAndFailsForTransportFileOrSize) {
    CDemoService service;
    ASSERT_TRUE(service.IsRunning());
    CScratchFolder scratch(L"download");
    ASSERT_TRUE(scratch.IsCreated());

    // Larger than one 40960-byte read, so the chunks must be joined in order, as a plain fetch has them.
    const std::wstring picture = scratch / L"picture.bin";
    EXPECT_EQ(DownloadToFile(service.Url(L"/test/ok?size=100000"), picture, kAnySize), picture);
    EXPECT_EQ(CScratchFolder::ReadFileText(picture), service.Get(L"/test/ok?size=100000"));

    // An error page counts as a download; an existing file is replaced.
    EXPECT_EQ(DownloadToFile(service.Url(L"/test/404"), picture, kAnySize), picture);
    EXPECT_EQ(CScratchFolder::ReadFileText(picture), "fault 404\n");

    EXPECT_EQ(DownloadToFile(service.Url(L"/test/ok"), scratch / L"missing\\picture.bin", kAnySize), L"");
    EXPECT_FALSE(CScratchFolder::Exists(scratch / L"missing"));
    // Nothing listens on port 1.
    const std::wstring refused = L"http://127.0.0.1:1/x";
    EXPECT_EQ(DownloadToFile(refused, scratch / L"refused.bin", kAnySize), L"");
    EXPECT_FALSE(CScratchFolder::Exists(scratch / L"refused.bin")) << "no file before the server answers";

    // An endless body stops at the caller's bound.
    const std::wstring endless = scratch / L"endless.bin";
    EXPECT_EQ(DownloadToFile(service.Url(L"/test/endless"), endless, 100000), L"");
    const size_t written = CScratchFolder::ReadFileText(endless).size();
    EXPECT_GT(written, 0u);
    EXPECT_LE(written, 100000u);
}
