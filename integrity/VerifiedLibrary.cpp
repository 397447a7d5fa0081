#include "integrity/VerifiedLibrary.h"

#include <string>
#include <vector>

namespace {

constexpr DWORD kPathChars = 1024;

std::wstring FullPath(const wchar_t* path) {
    wchar_t full[kPathChars] = {};
    const DWORD length = ::GetFullPathNameW(path, kPathChars, full, nullptr);
    return length > 0 && length < kPathChars ? std::wstring(full, length) : std::wstring();
}

// Where the folders below the root begin: after "X:\" or after "\\server\share\".
size_t RootLength(const std::wstring& full) {
    if (full.rfind(L"\\\\", 0) != 0) {
        return 3;
    }
    const size_t share = full.find(L'\\', 2);
    const size_t end = share == std::wstring::npos ? share : full.find(L'\\', share + 1);
    return end == std::wstring::npos ? full.size() : end + 1;
}

// Opens every folder of full below its root without delete sharing, which keeps each from being renamed.
bool HoldFolders(const std::wstring& full, std::vector<CFileHandle>& held) {
    const size_t root = RootLength(full);
    for (size_t slash = full.find(L'\\', root); slash != std::wstring::npos; slash = full.find(L'\\', slash + 1)) {
        CFileHandle folder(::CreateFileW(full.substr(0, slash).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!folder) {
            return false;
        }
        held.push_back(std::move(folder));
    }
    return true;
}

} // namespace

DWORD SystemFolderImportsFlag() {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel && ::GetProcAddress(kernel, "AddDllDirectory") ? LOAD_LIBRARY_SEARCH_SYSTEM32 : 0;
}

CModule LoadVerifiedLibrary(const wchar_t* path, const VerifyLibraryFile& verify) {
    const std::wstring full = path ? FullPath(path) : std::wstring();
    if (full.empty()) {
        ::SetLastError(ERROR_INVALID_NAME);
        return CModule();
    }
    std::vector<CFileHandle> folders;
    if (!HoldFolders(full, folders)) {
        return CModule();
    }
    // Others may read the file (the loader among them), nobody may change, replace or delete it.
    CFileHandle file(::CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return CModule();
    }
    if (!verify(full.c_str(), file.Get())) {
        ::SetLastError(ERROR_ACCESS_DISABLED_BY_POLICY);
        return CModule();
    }
    return CModule(::LoadLibraryExW(full.c_str(), nullptr, SystemFolderImportsFlag()));
}
