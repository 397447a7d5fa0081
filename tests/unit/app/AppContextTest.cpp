#include <gtest/gtest.h>

#include <windows.h>

#include "app/AppContext.h"
#include "unit/app/ScratchFolder.h"

namespace {

bool IsFolder(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The context is process-wide: each test puts the data folder back where it was made.
class AppContextTest : public ::testing::Test {
protected:
    void TearDown() override { CAppContext::GetInstance()->SetDataFolderBase(CAppContext::GetRoamingAppDataFolder()); }
};

} // namespace

TEST_F(AppContextTest, DataFolderIsCreatedWithItsParentsOnEveryRequest) {
    CScratchFolder scratch(L"context");
    ASSERT_TRUE(scratch.IsCreated());
    CAppContext* context = CAppContext::GetInstance();
    const std::wstring base = scratch / L"Roaming\\nested";
    context->SetDataFolderBase(base);

    const std::wstring folder = context->GetDataFolder();
    EXPECT_EQ(folder, base + L"\\deskling");
    EXPECT_TRUE(IsFolder(folder));

    // Deleted meanwhile (say by "/uninstall" or the user): the next request makes it again.
    ASSERT_TRUE(::RemoveDirectoryW(folder.c_str()));
    ASSERT_TRUE(::RemoveDirectoryW(base.c_str()));
    EXPECT_EQ(context->GetDataFolder(), folder);
    EXPECT_TRUE(IsFolder(folder));

    // A base given with its trailing separator gives the same folder.
    context->SetDataFolderBase(base + L"\\");
    EXPECT_EQ(context->GetDataFolder(), folder);
}

TEST_F(AppContextTest, FileInTheWayIsLeftAloneAndThePathStillReturned) {
    CScratchFolder scratch(L"context");
    ASSERT_TRUE(scratch.IsCreated());
    ASSERT_TRUE(CScratchFolder::WriteFileText(scratch / L"deskling", "not a folder"));
    CAppContext::GetInstance()->SetDataFolderBase(scratch.Path());

    EXPECT_EQ(CAppContext::GetInstance()->GetDataFolder(), scratch / L"deskling");
    EXPECT_EQ(CScratchFolder::ReadFileText(scratch / L"deskling"), "not a folder");
}

TEST_F(AppContextTest, RoamingApplicationDataIsTheUsersAppDataFolder) {
    const std::wstring roaming = CAppContext::GetRoamingAppDataFolder();
    ASSERT_FALSE(roaming.empty());
    wchar_t appData[MAX_PATH] = {};
    ASSERT_TRUE(::ExpandEnvironmentStringsW(L"%APPDATA%", appData, MAX_PATH));
    EXPECT_EQ(::CompareStringOrdinal(roaming.c_str(), -1, appData, -1, TRUE), CSTR_EQUAL);
}

TEST_F(AppContextTest, KeepsTheMainWindowAndTheLastCommandLine) {
    CAppContext* context = CAppContext::GetInstance();
    EXPECT_EQ(context, CAppContext::GetInstance());
    HWND previous = context->GetMainWnd();
    HWND fake = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    context->SetMainWnd(fake);
    EXPECT_EQ(CAppContext::GetInstance()->GetMainWnd(), fake);
    context->SetMainWnd(previous);

    ASSERT_TRUE(context->GetCommandParser().Parse(L"deskling.exe /news"));
    EXPECT_TRUE(CAppContext::GetInstance()->GetCommandParser().Has(L"/news"));
    ASSERT_TRUE(context->GetCommandParser().Parse(L"deskling.exe /calendar"));
    EXPECT_FALSE(CAppContext::GetInstance()->GetCommandParser().Has(L"/news"));
}
