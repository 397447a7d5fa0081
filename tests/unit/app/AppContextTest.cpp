#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "app/AppContext.h"
#include "unit/app/ScratchFolder.h"

namespace {

// The context is process-wide: each test puts the data folder back where it was made.
class AppContextTest : public ::testing::Test {
protected:
    void TearDown() override { m_context->SetDataFolderBase(CAppContext::GetRoamingAppDataFolder()); }

    CScratchFolder m_scratch{L"context"};
    CAppContext* m_context = CAppContext::GetInstance();
};

} // namespace

TEST_F(AppContextTest, DataFolderIsCreatedWithItsParentsOnEveryRequestUnlessAFileIsInTheWay) {
    const std::wstring base = m_scratch / L"Roaming\\nested";
    m_context->SetDataFolderBase(base);
    const std::wstring folder = m_context->GetDataFolder();
    EXPECT_EQ(folder, base + L"\\deskling");
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    // Deleted meanwhile (say by "/uninstall" or the user): the next request makes it again.
    ASSERT_TRUE(::RemoveDirectoryW(folder.c_str()));
    ASSERT_TRUE(::RemoveDirectoryW(base.c_str()));
    m_context->SetDataFolderBase(base + L"\\");
    EXPECT_EQ(m_context->GetDataFolder(), folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    // A file of that name is left alone, and the path still returned.
    ASSERT_TRUE(CScratchFolder::WriteFileText(m_scratch / L"deskling", "not a folder"));
    m_context->SetDataFolderBase(m_scratch.Path());
    EXPECT_EQ(m_context->GetDataFolder(), m_scratch / L"deskling");
    EXPECT_EQ(CScratchFolder::ReadFileText(m_scratch / L"deskling"), "not a folder");
}
