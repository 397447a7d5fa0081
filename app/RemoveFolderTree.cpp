#include "app/RemoveFolderTree.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "app/base/FileSystem.h"
#include "app/base/ScopedHandle.h"
#include "app/base/SmartLogger.h"

namespace {

bool SameText(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// Where the file system says an open file or folder is ("\\?\C:\..."); empty when it cannot tell.
std::wstring FinalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length >= path.size()) {
        path.resize(length);
        length = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    }
    if (length == 0 || length >= path.size()) {
        return std::wstring();
    }
    path.resize(length);
    return path;
}

enum class EntryKind {
    File,
    Folder,
    // A junction or symbolic link, open on the link itself.
    Link,
    // Reached only through a link the system insists on following, or not open to inspection.
    LeaveAlone,
};

struct CheckedEntry {
    EntryKind kind = EntryKind::LeaveAlone;
    // Empty when the file system cannot tell; the entries below are then judged by attributes alone.
    std::wstring finalPath;
    // Open on the entry itself (with delete access when granted), kept only for links.
    CFileHandle handle;
};

// Opens path itself, never what it points to, and checks that the system places it at expected
// (its parent's final path and its own name). Wine 8 ignores FILE_FLAG_OPEN_REPARSE_POINT and
// reports a Unix link to a file as an ordinary file, so the final path is the test that catches
// links there; on Windows the reparse-point attribute does.
CheckedEntry CheckEntry(const std::wstring& path, const std::wstring& expected, DWORD listedAttributes) {
    CheckedEntry entry;
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
    CFileHandle handle(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, share,
                                     nullptr, OPEN_EXISTING, flags, nullptr));
    if (!handle) {
        handle.Reset(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING, flags, nullptr));
    }
    if (!handle) {
        // An ordinary file may still be deleted (or scheduled) by name: that cannot follow anything.
        bool plainFile = !(listedAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
        entry.kind = plainFile ? EntryKind::File : EntryKind::LeaveAlone;
        return entry;
    }

    DWORD attributes = listedAttributes;
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    if (::GetFileInformationByHandleEx(handle.Get(), FileAttributeTagInfo, &tag, sizeof(tag))) {
        attributes = tag.FileAttributes;
    }
    entry.finalPath = FinalPath(handle.Get());
    if (!entry.finalPath.empty() && !expected.empty() && !SameText(entry.finalPath, expected)) {
        WriteLog(L"[tid:%d] RemoveFolderTree leaves %s, it leads to %s", ::GetCurrentThreadId(), path.c_str(),
                 entry.finalPath.c_str());
        return entry;
    }
    if ((attributes | listedAttributes) & FILE_ATTRIBUTE_REPARSE_POINT) {
        entry.kind = EntryKind::Link;
        entry.handle = std::move(handle);
    } else {
        entry.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
    }
    if (expected.empty()) {
        entry.finalPath.clear();
    }
    return entry;
}

// Deletes the link the handle is open on (not its target); a read-only link is made writable first.
bool DeleteLink(const std::wstring& path, HANDLE link) {
    FILE_DISPOSITION_INFO dispose = {TRUE};
    if (::SetFileInformationByHandle(link, FileDispositionInfo, &dispose, sizeof(dispose))) {
        return true;
    }
    FILE_BASIC_INFO basic = {};
    if (::GetFileInformationByHandleEx(link, FileBasicInfo, &basic, sizeof(basic)) &&
        (basic.FileAttributes & FILE_ATTRIBUTE_READONLY)) {
        basic.FileAttributes &= ~FILE_ATTRIBUTE_READONLY;
        if (::SetFileInformationByHandle(link, FileBasicInfo, &basic, sizeof(basic)) &&
            ::SetFileInformationByHandle(link, FileDispositionInfo, &dispose, sizeof(dispose))) {
            return true;
        }
    }
    WriteLog(L"[tid:%d] RemoveFolderTree cannot remove link %s, error:%d", ::GetCurrentThreadId(), path.c_str(),
             ::GetLastError());
    return false;
}

void DeleteOneFile(const std::wstring& path) {
    if (::DeleteFileW(path.c_str()) || !PathExists(path)) {
        return;
    }
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (::DeleteFileW(path.c_str())) {
        return;
    }
    if (!::MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        WriteLog(L"[tid:%d] RemoveFolderTree cannot delete %s, error:%d", ::GetCurrentThreadId(), path.c_str(),
                 ::GetLastError());
    }
}

bool ShellDelete(const std::wstring& folder) {
    // The shell takes a list of paths, each ended by a NUL and the list by another.
    std::wstring from = folder;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;
    int rc = ::SHFileOperationW(&operation);
    if (rc != 0 || operation.fAnyOperationsAborted) {
        WriteLog(L"[tid:%d] RemoveFolderTree shell delete of %s failed:%d", ::GetCurrentThreadId(), folder.c_str(), rc);
        return false;
    }
    return true;
}

// The limit the shell and the plain file functions share; a longer path is left alone.
bool IsUsablePath(const std::wstring& path) {
    if (path.empty() || path.size() >= MAX_PATH) {
        WriteLog(L"[tid:%d] RemoveFolderTree refuses a path of %d characters", ::GetCurrentThreadId(),
                 static_cast<int>(path.size()));
        return false;
    }
    return true;
}

bool RemoveCheckedEntry(const std::wstring& path, CheckedEntry& entry);

// Empties a folder that is known not to be a link, then removes it. Returns false when something
// unchecked had to be left inside (a link, or a folder too deep to look into): the shell's delete
// would walk into it and follow its links, so the folder stays too.
bool RemoveFolder(const std::wstring& folder, const std::wstring& finalPath) {
    if (!IsUsablePath(folder)) {
        return false;
    }
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetFileAttributesW(folder.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }

    bool uncheckedLeft = false;
    WIN32_FIND_DATAW found;
    CFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (find) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            std::wstring path = folder + L"\\" + name;
            CheckedEntry entry =
                CheckEntry(path, finalPath.empty() ? std::wstring() : finalPath + L"\\" + name, found.dwFileAttributes);
            if (!RemoveCheckedEntry(path, entry)) {
                uncheckedLeft = true;
            }
        } while (::FindNextFileW(find.Get(), &found));
    }
    find.Reset();

    if (uncheckedLeft) {
        WriteLog(L"[tid:%d] RemoveFolderTree keeps %s: it holds a link or a folder it cannot look into",
                 ::GetCurrentThreadId(), folder.c_str());
        return false;
    }
    ShellDelete(folder);
    return true;
}

// False when something unchecked was left behind (in this entry or below it).
bool RemoveCheckedEntry(const std::wstring& path, CheckedEntry& entry) {
    switch (entry.kind) {
    case EntryKind::File:
        DeleteOneFile(path);
        return true;
    case EntryKind::Folder:
        return RemoveFolder(path, entry.finalPath);
    case EntryKind::Link:
        return DeleteLink(path, entry.handle.Get());
    case EntryKind::LeaveAlone:
        break;
    }
    return false;
}

// The parent folder's final path joined with the entry's own name as the file system spells it.
std::wstring ExpectedFinalPath(const std::wstring& path, const std::wstring& name) {
    size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) {
        return std::wstring();
    }
    std::wstring parent = path.substr(0, slash + 1);
    CFileHandle handle(::CreateFileW(parent.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::wstring parentFinal = handle ? FinalPath(handle.Get()) : std::wstring();
    if (parentFinal.empty()) {
        return parentFinal;
    }
    if (parentFinal.back() != L'\\') {
        parentFinal += L'\\';
    }
    return parentFinal + name;
}

} // namespace

bool RemoveFolderTree(const std::wstring& folder) {
    if (!IsUsablePath(folder)) {
        return false;
    }
    wchar_t full[MAX_PATH] = {};
    DWORD length = ::GetFullPathNameW(folder.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    std::wstring path(full, length);
    while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) {
        path.pop_back();
    }
    if (path.find_first_of(L"*?") != std::wstring::npos || ::PathIsRootW(path.c_str()) ||
        ::PathIsRootW((path + L"\\").c_str())) {
        WriteLog(L"[tid:%d] RemoveFolderTree refuses %s", ::GetCurrentThreadId(), path.c_str());
        return false;
    }

    WIN32_FIND_DATAW found;
    CFindHandle find(::FindFirstFileW(path.c_str(), &found));
    if (!find) {
        return !PathExists(path);
    }
    find.Reset();
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        WriteLog(L"[tid:%d] RemoveFolderTree refuses %s, not a folder", ::GetCurrentThreadId(), path.c_str());
        return false;
    }
    CheckedEntry entry = CheckEntry(path, ExpectedFinalPath(path, found.cFileName), found.dwFileAttributes);
    RemoveCheckedEntry(path, entry);
    entry.handle.Reset();
    return !PathExists(path);
}
