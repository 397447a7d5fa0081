#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/RemoveFolderTree.h"
#include "unit/app/ScratchFolder.h"

namespace {

using Scratch = CScratchFolder;

bool MakeFolder(const std::wstring& path, DWORD attributes = 0) {
    return ::CreateDirectoryW(path.c_str(), nullptr) && (!attributes || ::SetFileAttributesW(path.c_str(), attributes));
}

// Everything queued for deletion at the next restart, as the session manager will read it.
std::wstring PendingDeletes() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_QUERY_VALUE,
                        &key) != ERROR_SUCCESS) {
        return std::wstring();
    }
    std::wstring text(32768, L'\0');
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    LONG rc = ::RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(text.data()), &bytes);
    ::RegCloseKey(key);
    text.resize(rc == ERROR_SUCCESS ? bytes / sizeof(wchar_t) : 0);
    for (wchar_t& c : text) {
        c = c ? static_cast<wchar_t>(::towlower(c)) : L'|';
    }
    return text;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(::towlower(c));
    }
    return text;
}

// A m_scratch folder holding the folder to delete, "deskling", and whatever lies beside it.
class RemoveFolderTreeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_scratch.IsCreated()); }

    Scratch m_scratch{L"remove"};
    const std::wstring m_data = m_scratch / L"deskling";
};

} // namespace

TEST_F(RemoveFolderTreeTest, RefusesEmptyOverlongAndWildcardPaths) {
    EXPECT_FALSE(RemoveFolderTree(L""));

    // A real folder whose path is exactly 260 characters stays, with its content.
    std::wstring longPath = m_scratch / L"";
    longPath += std::wstring(MAX_PATH - longPath.size(), L'x');
    ASSERT_EQ(longPath.size(), static_cast<size_t>(MAX_PATH));
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + longPath).c_str(), nullptr));
    EXPECT_FALSE(RemoveFolderTree(longPath));
    EXPECT_TRUE(Scratch::Exists(L"\\\\?\\" + longPath));
    ASSERT_TRUE(::RemoveDirectoryW((L"\\\\?\\" + longPath).c_str()));

    // One character shorter is allowed.
    std::wstring shorter = longPath.substr(0, MAX_PATH - 1);
    ASSERT_TRUE(::CreateDirectoryW(shorter.c_str(), nullptr));
    EXPECT_TRUE(RemoveFolderTree(shorter));
    EXPECT_FALSE(Scratch::Exists(shorter));

    ASSERT_TRUE(Scratch::WriteFileText(m_scratch / L"keep.txt", "keep"));
    EXPECT_FALSE(RemoveFolderTree(m_scratch / L"*"));
    EXPECT_FALSE(RemoveFolderTree(m_scratch / L"kee?.txt"));
    EXPECT_EQ(Scratch::ReadFileText(m_scratch / L"keep.txt"), "keep");
}

TEST_F(RemoveFolderTreeTest, DeletesANestedTreeWithReadOnlyFilesAndFolders) {
    ASSERT_TRUE(MakeFolder(m_data));
    ASSERT_TRUE(Scratch::WriteFileText(m_data + L"\\deskling.ini", "[calendar]\r\nalpha=40\r\n"));
    ASSERT_TRUE(Scratch::WriteFileText(m_data + L"\\holiday.db", "locked", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(MakeFolder(m_data + L"\\news"));
    ASSERT_TRUE(Scratch::WriteFileText(m_data + L"\\news\\1.png", "png"));
    ASSERT_TRUE(MakeFolder(m_data + L"\\news\\cache"));
    ASSERT_TRUE(Scratch::WriteFileText(m_data + L"\\news\\cache\\2.png", "png",
                                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(MakeFolder(m_data + L"\\news\\empty"));
    ASSERT_TRUE(MakeFolder(m_data + L"\\area", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(Scratch::WriteFileText(m_data + L"\\area\\list.json", "{}"));
    ::SetFileAttributesW(m_data.c_str(), FILE_ATTRIBUTE_READONLY);
    // Neighbours whose names start alike are not part of the folder.
    ASSERT_TRUE(MakeFolder(m_scratch / L"deskling2"));
    ASSERT_TRUE(Scratch::WriteFileText(m_scratch / L"deskling2\\other.txt", "other"));
    ASSERT_TRUE(Scratch::WriteFileText(m_scratch / L"deskling.txt", "sibling"));

    EXPECT_TRUE(RemoveFolderTree(m_data));
    EXPECT_FALSE(Scratch::Exists(m_data));
    EXPECT_EQ(Scratch::ReadFileText(m_scratch / L"deskling2\\other.txt"), "other");
    EXPECT_EQ(Scratch::ReadFileText(m_scratch / L"deskling.txt"), "sibling");
}

TEST_F(RemoveFolderTreeTest, AcceptsATrailingSeparatorAndAMissingFolder) {
    ASSERT_TRUE(MakeFolder(m_data));
    ASSERT_TRUE(Scratch::WriteFileText(m_data + L"\\a.txt", "a"));
    EXPECT_TRUE(RemoveFolderTree(m_data + L"\\"));
    EXPECT_FALSE(Scratch::Exists(m_data));

    // Nothing to delete is not a failure, and nothing gets created.
    EXPECT_TRUE(RemoveFolderTree(m_data));
    EXPECT_FALSE(Scratch::Exists(m_data));
}

TEST_F(RemoveFolderTreeTest, LeavesAFileNamedLikeTheFolder) {
    ASSERT_TRUE(Scratch::WriteFileText(m_scratch / L"deskling", "a file"));
    EXPECT_FALSE(RemoveFolderTree(m_scratch / L"deskling"));
    EXPECT_EQ(Scratch::ReadFileText(m_scratch / L"deskling"), "a file");
}

TEST_F(RemoveFolderTreeTest, FileInUseIsScheduledForTheNextRestartAndTheRestGoes) {
    ASSERT_TRUE(MakeFolder(m_data));
    ASSERT_TRUE(MakeFolder(m_data + L"\\sub"));
    const std::wstring busy = m_data + L"\\sub\\busy.db";
    ASSERT_TRUE(Scratch::WriteFileText(busy, "busy"));
    ASSERT_TRUE(Scratch::WriteFileText(m_data + L"\\free.txt", "free"));
    // Open without delete sharing, as another program holding the file would.
    HANDLE holder = ::CreateFileW(busy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    EXPECT_FALSE(RemoveFolderTree(m_data));
    ::CloseHandle(holder);
    EXPECT_FALSE(Scratch::Exists(m_data + L"\\free.txt"));
    EXPECT_EQ(Scratch::ReadFileText(busy), "busy");
    EXPECT_NE(PendingDeletes().find(Lower(busy.substr(2))), std::wstring::npos);
}

// Links are made as Unix symbolic links under Wine (which cannot make Windows ones) and as Windows
// symbolic links elsewhere.
class RemoveFolderTreeLinks : public RemoveFolderTreeTest {
protected:
    void SetUp() override {
        RemoveFolderTreeTest::SetUp();
        ASSERT_TRUE(MakeFolder(m_scratch / L"outside"));
        ASSERT_TRUE(MakeFolder(m_scratch / L"outside\\inner"));
        ASSERT_TRUE(Scratch::WriteFileText(m_scratch / L"outside\\keep.txt", "keep"));
        ASSERT_TRUE(Scratch::WriteFileText(m_scratch / L"outside\\inner\\keep2.txt", "keep2"));
    }

    void ExpectOutsideUntouched() {
        EXPECT_EQ(Scratch::ReadFileText(m_scratch / L"outside\\keep.txt"), "keep");
        EXPECT_EQ(Scratch::ReadFileText(m_scratch / L"outside\\inner\\keep2.txt"), "keep2");
    }

    bool Link(const std::wstring& link, const std::wstring& target, bool toFolder) {
        return Scratch::MakeSymlink(m_scratch / link, target, toFolder);
    }
};

TEST_F(RemoveFolderTreeLinks, LinksInsideAreRemovedWithoutTouchingTheirTargets) {
    ASSERT_TRUE(MakeFolder(m_data));
    ASSERT_TRUE(MakeFolder(m_data + L"\\sub"));
    // Read-only, and beside links the shell's delete never runs: only the file delete can remove it.
    ASSERT_TRUE(Scratch::WriteFileText(m_data + L"\\plain.txt", "plain", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(Scratch::WriteFileText(m_data + L"\\sub\\x.txt", "x"));
    if (!Link(L"deskling\\folderlink", L"../outside", true)) {
        GTEST_SKIP() << "symbolic links cannot be made here";
    }
    ASSERT_TRUE(Link(L"deskling\\filelink", L"../outside/keep.txt", false));
    ASSERT_TRUE(Link(L"deskling\\sub\\deeplink", L"../../outside/inner", true));

    bool removed = RemoveFolderTree(m_data);

    ExpectOutsideUntouched();
    EXPECT_FALSE(Scratch::Exists(m_data + L"\\plain.txt"));
    EXPECT_FALSE(Scratch::Exists(m_data + L"\\sub\\x.txt"));
    if (Scratch::IsWine()) {
        // Wine can reach a Unix link only through its target: the links, and the folders holding
        // them, stay where they are.
        EXPECT_FALSE(removed);
        EXPECT_TRUE(Scratch::Exists(m_data + L"\\folderlink"));
        EXPECT_TRUE(Scratch::Exists(m_data + L"\\sub\\deeplink"));
    } else {
        EXPECT_TRUE(removed);
        EXPECT_FALSE(Scratch::Exists(m_data));
    }
}

TEST_F(RemoveFolderTreeLinks, DataFolderThatIsALinkLosesOnlyTheLink) {
    if (!Link(L"deskling", L"outside", true)) {
        GTEST_SKIP() << "symbolic links cannot be made here";
    }
    bool removed = RemoveFolderTree(m_scratch / L"deskling");
    ExpectOutsideUntouched();
    EXPECT_TRUE(Scratch::Exists(m_scratch / L"outside\\inner"));
    EXPECT_EQ(removed, !Scratch::Exists(m_scratch / L"deskling"));
    if (!Scratch::IsWine()) {
        EXPECT_TRUE(removed);
    }
}
