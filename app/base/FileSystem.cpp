#include "app/base/FileSystem.h"

#include <windows.h>

#include "app/base/ScopedHandle.h"

namespace {

DWORD Attributes(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str());
}

} // namespace

bool FileExists(const std::wstring& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::wstring& path) {
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool CreateFolderTree(const std::wstring& folder) {
    if (folder.empty() || FolderExists(folder)) {
        return !folder.empty();
    }
    const std::wstring parent = ParentFolder(folder);
    if (!parent.empty()) {
        CreateFolderTree(parent);
    }
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return FolderExists(folder);
}

std::wstring ParentFolder(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring ExecutableFolder() {
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    return length == 0 || length >= ARRAYSIZE(path) ? std::wstring() : ParentFolder(path);
}

bool ReadWholeFile(const wchar_t* path, std::vector<char>* buffer) {
    constexpr LONGLONG kLimit = 5 * 1024 * 1024;
    if (!path || !FileExists(path)) {
        return false;
    }
    CFileHandle file(
        ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart >= kLimit) {
        return false;
    }
    buffer->resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return ::ReadFile(file.Get(), buffer->data(), static_cast<DWORD>(buffer->size()), &read, nullptr) &&
           read == buffer->size();
}
