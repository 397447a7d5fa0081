#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include "app/RemoveFolderTree.h"
#include "unit/app/ScratchFolder.h"

namespace {

using Scratch = CScratchFolder;

std::wstring Lower(std::wstring text) {
    ::CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Everything queued for deletion at the next restart, as the session manager will read it.
std::wstring PendingDeletes() {
    std::wstring text(32768, L'\0');
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    LONG rc = ::RegGetValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                             L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, text.data(), &bytes);
    text.resize(rc == ERROR_SUCCESS ? bytes / sizeof(wchar_t) : 0);
    std::replace(text.begin(), text.end(), L'\0', L'|');
    return Lower(text);
}

// A scratch folder holding the folder to delete, "deskling", and whatever lies beside it.
class RemoveFolderTreeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_scratch.IsCreated()); }

    // Makes each entry below the scratch folder: a folder when it ends in "\", else a file holding its own name.
    bool Make(std::initializer_list<std::wstring> entries, DWORD attributes = 0) {
        for (const std::wstring& entry : entries) {
            const std::wstring path = m_scratch / entry;
            const bool folder = entry.back() == L'\\';
            if (!(folder ? ::CreateDirectoryW(path.c_str(), nullptr)
                         : Scratch::WriteFileText(path, std::string(entry.begin(), entry.end()))) ||
                (attributes && !::SetFileAttributesW(path.c_str(), attributes))) {
                return false;
            }
        }
        return true;
    }
    bool Holds(const std::wstring& file) const {
        return Scratch::ReadFileText(m_scratch / file) == std::string(file.begin(), file.end());
    }

    Scratch m_scratch{L"remove"};
    const std::wstring m_data = m_scratch / L"deskling";
};

} // namespace

TEST_F(RemoveFolderTreeTest, RefusesEmptyOverlongAndWildcardPathsAndFiles) {
    EXPECT_FALSE(RemoveFolderTree(L""));

    // A folder whose path is exactly 260 characters stays, whether it is the one to remove or a subfolder of it (the
    // folder above then stays with it); one character shorter, the whole tree goes.
    for (const bool inside : {false, true}) {
        for (const size_t length : {MAX_PATH - 1, MAX_PATH}) {
            std::wstring deep = (inside ? m_data : m_scratch.Path()) + L"\\";
            deep += std::wstring(length - deep.size(), L'y');
            ASSERT_TRUE(!inside || ::CreateDirectoryW(m_data.c_str(), nullptr));
            ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
            EXPECT_EQ(RemoveFolderTree(inside ? m_data : deep), length < MAX_PATH) << inside << " " << length;
            EXPECT_EQ(Scratch::Exists(L"\\\\?\\" + deep), length == MAX_PATH) << inside << " " << length;
            ::RemoveDirectoryW((L"\\\\?\\" + deep).c_str());
            ::RemoveDirectoryW(m_data.c_str());
        }
    }

    ASSERT_TRUE(Make({L"keep.txt", L"deskling"}));
    EXPECT_FALSE(RemoveFolderTree(m_scratch / L"*"));
    EXPECT_FALSE(RemoveFolderTree(m_scratch / L"kee?.txt"));
    EXPECT_FALSE(RemoveFolderTree(m_data)) << "a file named like the folder";
    EXPECT_TRUE(Holds(L"keep.txt") && Holds(L"deskling"));
}

TEST_F(RemoveFolderTreeTest, DeletesANestedTreeWithReadOnlyFilesAndFoldersButNotItsNeighbours) {
    ASSERT_TRUE(Make({L"deskling\\", L"deskling\\deskling.ini", L"deskling\\news\\", L"deskling\\news\\cache\\",
                      L"deskling\\news\\empty\\", L"deskling\\area\\", L"deskling\\area\\list.json", L"deskling2\\",
                      L"deskling2\\other.txt", L"deskling.txt"}));
    ASSERT_TRUE(Make({L"deskling\\holiday.db", L"deskling\\news\\cache\\2.png"},
                     FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesW((m_data + L"\\area").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesW(m_data.c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_TRUE(RemoveFolderTree(m_data + L"\\"));
    EXPECT_FALSE(Scratch::Exists(m_data));
    EXPECT_TRUE(Holds(L"deskling2\\other.txt") && Holds(L"deskling.txt"));
    EXPECT_TRUE(RemoveFolderTree(m_data)) << "nothing to delete is no failure";
    EXPECT_FALSE(Scratch::Exists(m_data));
}

TEST_F(RemoveFolderTreeTest, FileInUseIsScheduledForTheNextRestartAndTheRestGoes) {
    ASSERT_TRUE(Make({L"deskling\\", L"deskling\\sub\\", L"deskling\\sub\\busy.db", L"deskling\\free.txt"}));
    const std::wstring busy = m_data + L"\\sub\\busy.db";
    // Open without delete sharing, as another program holding the file would.
    HANDLE holder = ::CreateFileW(busy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(RemoveFolderTree(m_data));
    ::CloseHandle(holder);
    EXPECT_FALSE(Scratch::Exists(m_data + L"\\free.txt"));
    EXPECT_TRUE(Holds(L"deskling\\sub\\busy.db"));
    EXPECT_NE(PendingDeletes().find(Lower(busy.substr(2))), std::wstring::npos);
}

// Links are made as Unix symbolic links under Wine (which cannot make Windows ones) and as Windows
// symbolic links elsewhere.
TEST_F(RemoveFolderTreeTest, LinksAreRemovedWithoutTouchingTheirTargets) {
    ASSERT_TRUE(Make({L"outside\\", L"outside\\inner\\", L"outside\\keep.txt", L"outside\\inner\\keep2.txt",
                      L"deskling\\", L"deskling\\sub\\", L"deskling\\sub\\x.txt"}));
    // Read-only, and beside links the shell's delete never runs: only the file delete can remove it.
    ASSERT_TRUE(Make({L"deskling\\plain.txt"}, FILE_ATTRIBUTE_READONLY));
    auto link = [&](const wchar_t* at, const wchar_t* target, bool toFolder) {
        return Scratch::MakeSymlink(m_scratch / at, target, toFolder);
    };
    if (!link(L"deskling\\folderlink", L"../outside", true)) {
        GTEST_SKIP() << "symbolic links cannot be made here";
    }
    ASSERT_TRUE(link(L"deskling\\filelink", L"../outside/keep.txt", false));
    ASSERT_TRUE(link(L"deskling\\sub\\deeplink", L"../../outside/inner", true));
    ASSERT_TRUE(link(L"datalink", L"outside", true));

    const bool removed = RemoveFolderTree(m_data);
    // A data folder that is itself a link loses only the link.
    const bool linkRemoved = RemoveFolderTree(m_scratch / L"datalink");
    EXPECT_TRUE(Holds(L"outside\\keep.txt") && Holds(L"outside\\inner\\keep2.txt"));
    EXPECT_FALSE(Scratch::Exists(m_data + L"\\plain.txt"));
    EXPECT_FALSE(Scratch::Exists(m_data + L"\\sub\\x.txt"));
    // Wine can reach a Unix link only through its target: the links, and the folders holding them, stay.
    EXPECT_EQ(removed, !IsWine());
    EXPECT_EQ(Scratch::Exists(m_data + L"\\sub\\deeplink"), IsWine());
    EXPECT_EQ(linkRemoved, !Scratch::Exists(m_scratch / L"datalink"));
    EXPECT_TRUE(linkRemoved || IsWine());
}
