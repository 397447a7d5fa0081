// brakosetup.exe: installs the hardware tool (README.md).
//   brakosetup.exe [/S] [/D=folder]
// /S installs without asking; /D= names the folder and, as the last argument, may contain blanks.
// Exit codes: 0 installed, 1 declined, 2 a file could not be written, 3 the registry could not be
// written, 4 the running service did not hand over its files.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "app/base/ScopedHandle.h"
#include "companions/brakosetup/SetupPayload.h"
#include "companions/hardwix/ServiceInstance.h"

namespace {
enum ExitCode : int { kInstalled = 0, kDeclined = 1, kFileFailed = 2, kRegistryFailed = 3, kServiceBusy = 4 };

constexpr DWORD kServiceHandOverMs = 10000;
const wchar_t kTitle[] = L"Brako";

struct Payload {
    int resource;
    const wchar_t* file;
};
constexpr Payload kPayload[] = {{IDR_DATAMGR, L"DataMgr.dll"}, {IDR_HARDWIXSERVICE, L"HardwixService.exe"}};

std::wstring DefaultFolder() {
    wchar_t programs[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programs))) {
        return std::wstring();
    }
    return std::wstring(programs) + L"\\Brako";
}

// The folder after "/D=", to the end of the command line, without a trailing separator.
std::wstring FolderArgument(const std::wstring& commandLine) {
    const size_t at = commandLine.find(L"/D=");
    if (at == std::wstring::npos) {
        return DefaultFolder();
    }
    std::wstring folder = commandLine.substr(at + 3);
    while (!folder.empty() && (folder.back() == L' ' || folder.back() == L'\\' || folder.back() == L'"')) {
        folder.pop_back();
    }
    return folder;
}

bool WritePayload(const std::wstring& folder, const Payload& payload) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(payload.resource), RT_RCDATA);
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = found ? ::SizeofResource(nullptr, found) : 0;
    if (!bytes || size == 0) {
        return false;
    }
    CFileHandle file(::CreateFileW((folder + L"\\" + payload.file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), bytes, size, &written, nullptr) && written == size;
}

// Programs of either width look for the tool, each in its own registry view, so both get the path.
bool RegisterFolder(const std::wstring& folder) {
    const std::wstring setupPath = folder + L"\\";
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        CRegKey key;
        if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Brako", 0, nullptr, 0, KEY_SET_VALUE | view, nullptr,
                              key.Receive(), nullptr) != ERROR_SUCCESS ||
            ::RegSetValueExW(key.Get(), L"Setup Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(setupPath.c_str()),
                             static_cast<DWORD>((setupPath.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
            return false;
        }
    }
    return true;
}

int Install(const std::wstring& folder) {
    // Holding the instance keeps a service from running the files while they are replaced.
    CServiceInstance instance;
    if (!instance.Claim(kServiceHandOverMs)) {
        return kServiceBusy;
    }
    const int created = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (folder.empty() ||
        (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS && created != ERROR_FILE_EXISTS)) {
        return kFileFailed;
    }
    for (const Payload& payload : kPayload) {
        if (!WritePayload(folder, payload)) {
            return kFileFailed;
        }
    }
    return RegisterFolder(folder) ? kInstalled : kRegistryFailed;
}
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    const std::wstring commandLine = ::GetCommandLineW();
    bool silent = false;
    int count = 0;
    if (LPWSTR* args = ::CommandLineToArgvW(commandLine.c_str(), &count)) {
        for (int i = 1; i < count; ++i) {
            silent = silent || ::lstrcmpiW(args[i], L"/S") == 0;
        }
        ::LocalFree(args);
    }
    const std::wstring folder = FolderArgument(commandLine);
    if (!silent) {
        const std::wstring question = L"Install Brako into " + folder + L"?";
        if (::MessageBoxW(nullptr, question.c_str(), kTitle, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
            return kDeclined;
        }
    }
    const int result = Install(folder);
    if (!silent) {
        ::MessageBoxW(nullptr, result == kInstalled ? L"Brako is installed." : L"Brako could not be installed.", kTitle,
                      result == kInstalled ? MB_ICONINFORMATION : MB_ICONERROR);
    }
    return result;
}
