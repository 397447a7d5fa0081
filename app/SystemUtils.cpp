#include "app/SystemUtils.h"

#include "app/base/FileSystem.h"
#include "app/base/ScopedHandle.h"
#include "app/base/SmartLogger.h"
#include "app/SystemUtilsText.h"
#include "app/TrustedFile.h"
#include "integrity/VerifiedLibrary.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>

namespace {

// Every module looked up here is ntdll or one the program imports, so it is loaded already: nothing is
// loaded by name, from wherever the search would find it.
template <class Fn> Fn LookUp(const wchar_t* module, const char* name) {
    HMODULE handle = ::GetModuleHandleW(module);
    return handle ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(handle, name))) : nullptr;
}

bool EnablePrivilege(const wchar_t* name) {
    CKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Receive())) {
        return false;
    }
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid)) {
        return false;
    }
    // AdjustTokenPrivileges succeeds even when it assigned nothing; the error code tells.
    ::SetLastError(ERROR_SUCCESS);
    return ::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr) &&
           ::GetLastError() == ERROR_SUCCESS;
}

void RtlVersion(DWORD* major, DWORD* minor) {
    using GetVersionsFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    *major = 0;
    *minor = 0;
    DWORD build = 0;
    if (auto get = LookUp<GetVersionsFn>(L"ntdll.dll", "RtlGetNtVersionNumbers")) {
        get(major, minor, &build);
    }
}

// The second reading of "64-bit": ARM64 counts too, and elsewhere a 32-bit process under emulation.
bool Is64BitSystemForVersions() {
    static const bool value = [] {
        SYSTEM_INFO info = {};
        ::GetNativeSystemInfo(&info);
        switch (info.wProcessorArchitecture) {
        case PROCESSOR_ARCHITECTURE_AMD64:
        case PROCESSOR_ARCHITECTURE_IA64:
        case PROCESSOR_ARCHITECTURE_ARM64:
            return true;
        default:
            break;
        }
        BOOL wow64 = FALSE;
        return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
    }();
    return value;
}

// LVITEMW as the shell's process sees it: the list view writes through the pointers in the shell's
// own address space, so the record's layout follows the shell's width, not ours.
#pragma pack(push, 1)
struct RemoteItem32 {
    UINT mask;
    int item;
    int subItem;
    UINT state;
    UINT stateMask;
    uint32_t text;
    int textMax;
    int image;
    uint32_t param;
    int indent;
    int groupId;
    UINT columns;
    uint32_t columnList;
    uint32_t columnFormats;
    int group;
};
struct RemoteItem64 {
    UINT mask;
    int item;
    int subItem;
    UINT state;
    UINT stateMask;
    uint32_t padding1;
    uint64_t text;
    int textMax;
    int image;
    uint64_t param;
    int indent;
    int groupId;
    UINT columns;
    uint32_t padding2;
    uint64_t columnList;
};
#pragma pack(pop)
static_assert(sizeof(RemoteItem32) == 60);
static_assert(sizeof(RemoteItem64) == 72);

constexpr int kRemoteTextChars = 512;
constexpr SIZE_T kRemoteTextBytes = 1024;
constexpr SIZE_T kReadTextBytes = 512;

// A block of memory in another process, freed with it.
class CRemoteBlock {
public:
    CRemoteBlock(HANDLE process, SIZE_T size)
        : m_process(process),
          m_address(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~CRemoteBlock() {
        if (m_address) {
            ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        }
    }
    CRemoteBlock(const CRemoteBlock&) = delete;
    CRemoteBlock& operator=(const CRemoteBlock&) = delete;

    void* Get() const { return m_address; }
    bool Write(const void* data, SIZE_T size) const {
        return ::WriteProcessMemory(m_process, m_address, data, size, nullptr) != FALSE;
    }
    bool Read(void* data, SIZE_T size) const {
        return ::ReadProcessMemory(m_process, m_address, data, size, nullptr) != FALSE;
    }

private:
    HANDLE m_process;
    void* m_address;
};

} // namespace

void AllowWindowMessage(UINT message) {
    using ChangeFilterFn = BOOL(WINAPI*)(UINT, DWORD);
    if (auto change = LookUp<ChangeFilterFn>(L"user32.dll", "ChangeWindowMessageFilter")) {
        constexpr DWORD kMsgFltAdd = 1;
        change(message, kMsgFltAdd);
    }
}

HWND FindDesktopWindow() {
    // With a slideshow wallpaper the icon view moves under one of the WorkerW windows.
    for (HWND window = ::FindWindowW(L"WorkerW", nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (::FindWindowExW(window, nullptr, L"SHELLDLL_DefView", nullptr)) {
            return window;
        }
    }
    return ::FindWindowW(L"Progman", L"Program Manager");
}

HWND FindDesktopListView() {
    HWND desktop = FindDesktopWindow();
    HWND view = desktop ? ::FindWindowExW(desktop, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
    return view ? ::FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
}

bool GetDesktopIconRect(const wchar_t* caption, RECT* rect) {
    HWND list = FindDesktopListView();
    if (!list || !caption || !rect) {
        return false;
    }
    DWORD pid = 0;
    ::GetWindowThreadProcessId(list, &pid);
    if (!IsVistaOrLater()) {
        EnablePrivilege(SE_DEBUG_NAME);
    }
    CKernelHandle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid));
    if (!process) {
        WriteLog(L"Open Process failed, hWnd = %d, PID = %d", static_cast<int>(reinterpret_cast<INT_PTR>(list)),
                 static_cast<int>(pid));
        return false;
    }
    const bool wide = Is64BitSystem();
    CRemoteBlock item(process.Get(), wide ? sizeof(RemoteItem64) : sizeof(RemoteItem32));
    CRemoteBlock text(process.Get(), kRemoteTextBytes);
    CRemoteBlock bounds(process.Get(), sizeof(RECT));
    if (!item.Get() || !text.Get() || !bounds.Get()) {
        WriteLog(L"Virtual Alloc Failed");
        return false;
    }
    const auto textAddress = reinterpret_cast<uintptr_t>(text.Get());
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        bool written = false;
        if (wide) {
            RemoteItem64 record = {};
            record.mask = LVIF_TEXT;
            record.item = index;
            record.text = textAddress;
            record.textMax = kRemoteTextChars;
            written = item.Write(&record, sizeof(record));
        } else {
            RemoteItem32 record = {};
            record.mask = LVIF_TEXT;
            record.item = index;
            record.text = static_cast<uint32_t>(textAddress);
            record.textMax = kRemoteTextChars;
            written = item.Write(&record, sizeof(record));
        }
        if (!written) {
            continue;
        }
        ::SendMessageW(list, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(item.Get()));
        wchar_t name[kReadTextBytes / sizeof(wchar_t) + 1] = {};
        if (!text.Read(name, kReadTextBytes) || ::_wcsicmp(name, caption) != 0) {
            continue;
        }
        // A zeroed rectangle asks for LVIR_BOUNDS, the whole item.
        const RECT zero = {};
        RECT found = {};
        if (bounds.Write(&zero, sizeof(zero)) &&
            ::SendMessageW(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(bounds.Get())) &&
            bounds.Read(&found, sizeof(found))) {
            *rect = found;
            return true;
        }
        return false;
    }
    return false;
}

HWND FindWallpaperBar() {
    for (const wchar_t* title : {L"VexaDirectUICls_SwitchBar", L"VexaDTFence"}) {
        HWND bar = ::FindWindowW(L"VexaDirectUICls", title);
        if (bar && ::IsWindowVisible(bar)) {
            return bar;
        }
    }
    return nullptr;
}

bool GetFileVersionTextFrom(const wchar_t* path, bool preferStringTable, std::wstring* text) {
    text->clear();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) {
        return false;
    }
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(path, 0, size, block.data())) {
        return false;
    }
    std::wstring version;
    if (preferStringTable) {
        struct Translation {
            WORD language;
            WORD codePage;
        };
        Translation* translations = nullptr;
        UINT bytes = 0;
        if (::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                             &bytes)) {
            for (UINT i = 0; i < bytes / sizeof(Translation) && version.empty(); ++i) {
                wchar_t query[64];
                std::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", translations[i].language,
                              translations[i].codePage);
                wchar_t* value = nullptr;
                UINT length = 0;
                if (::VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length) && value &&
                    length > 0) {
                    version = value;
                }
            }
        }
    }
    if (version.empty()) {
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT bytes = 0;
        if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &bytes) || !fixed ||
            bytes < sizeof(VS_FIXEDFILEINFO)) {
            return false;
        }
        wchar_t numbers[64];
        std::swprintf(numbers, 64, L"%d.%d.%d.%d", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                      HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
        version = numbers;
    }
    *text = NormaliseVersionText(version);
    return !text->empty();
}

bool GetFileVersionText(const wchar_t* path, std::wstring* text) {
    return GetFileVersionTextFrom(path, IsWindows10OrLater() && !Is64BitSystemForVersions(), text);
}

bool LaunchProcess(HMODULE baseModule, const wchar_t* path, const wchar_t* arguments, int showCommand, bool waitForIdle,
                   DWORD waitMs, bool verify, bool relative) {
    if (!path || !*path) {
        return false;
    }
    std::wstring executable = path;
    if (relative) {
        wchar_t module[MAX_PATH] = {};
        ::GetModuleFileNameW(baseModule, module, MAX_PATH);
        executable = ResolveBesideModule(module, executable);
    }
    if (verify && !IsTrustedFile(executable.c_str())) {
        return false;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    std::wstring commandLine = LaunchCommandLine(executable, arguments ? arguments : L"");
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        return false;
    }
    CKernelHandle process(info.hProcess);
    CKernelHandle thread(info.hThread);
    if (waitForIdle) {
        ::WaitForInputIdle(process.Get(), waitMs);
    }
    return true;
}

bool RunAtMediumIntegrity(const wchar_t* executable, const wchar_t* commandText, const wchar_t* currentFolder,
                          STARTUPINFOW* startup, PROCESS_INFORMATION* process) {
    if (!EnablePrivilege(SE_INCREASE_QUOTA_NAME)) {
        return false;
    }
    CKernelHandle token;
    CKernelHandle primary;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, token.Receive()) ||
        !::DuplicateTokenEx(token.Get(), TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary,
                            primary.Receive())) {
        return false;
    }
    BYTE sid[SECURITY_MAX_SID_SIZE] = {};
    DWORD sidSize = sizeof(sid);
    if (!::CreateWellKnownSid(WinMediumLabelSid, nullptr, sid, &sidSize)) {
        return false;
    }
    TOKEN_MANDATORY_LABEL label = {};
    label.Label.Sid = sid;
    label.Label.Attributes = SE_GROUP_INTEGRITY;
    if (!::SetTokenInformation(primary.Get(), TokenIntegrityLevel, &label, sizeof(label) + ::GetLengthSid(sid))) {
        return false;
    }
    using CreateAsUserFn = BOOL(WINAPI*)(HANDLE, LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                                         DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION);
    auto createAsUser = LookUp<CreateAsUserFn>(L"advapi32.dll", "CreateProcessAsUserW");
    if (!createAsUser) {
        return false;
    }
    std::wstring commandLine = commandText ? commandText : L"";
    if (executable) {
        commandLine = LaunchCommandLine(executable, commandLine);
    }
    return createAsUser(primary.Get(), executable, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentFolder, startup, process) != FALSE;
}

CModule LoadSystemLibrary(const wchar_t* fileName) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return CModule();
    }
    const std::wstring path = std::wstring(folder, length) + L"\\" + fileName;
    return CModule(::LoadLibraryExW(path.c_str(), nullptr, SystemFolderImportsFlag()));
}

bool OpenUrl(const wchar_t* address) {
    if (!address || !*address) {
        return true;
    }
    wchar_t command[2048] = {};
    DWORD length = ARRAYSIZE(command);
    if (SUCCEEDED(::AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_COMMAND, L"http", L"open", command, &length)) &&
        command[0]) {
        const std::wstring commandLine = BrowserCommandLine(command, address);
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (RunAtMediumIntegrity(nullptr, commandLine.c_str(), nullptr, &startup, &process)) {
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
            return true;
        }
    }
    const auto result =
        reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

std::wstring HardwareToolFolder(REGSAM view) {
    CRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Brako", 0, KEY_READ | view, key.Receive()) != ERROR_SUCCESS) {
        return {};
    }
    wchar_t folder[MAX_PATH] = {};
    DWORD size = sizeof(folder) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key.Get(), L"Setup Path", nullptr, &type, reinterpret_cast<BYTE*>(folder), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || folder[0] == 0) {
        return {};
    }
    std::wstring path(folder);
    if (path.back() != L'\\' && path.back() != L'/') {
        path += L'\\';
    }
    return path;
}

bool IsHardwareLibraryReady(REGSAM view) {
    const std::wstring folder = HardwareToolFolder(view);
    if (folder.empty()) {
        return false;
    }
    const std::wstring library = folder + L"DataMgr.dll";
    if (!FileExists(library)) {
        WriteLog(L"温度监控dll不存在");
        return false;
    }
    if (!IsTrustedFile(library.c_str())) {
        WriteLog(L"没有Vexa签名，文件已损坏");
        return false;
    }
    return true;
}

void StartHardwareService(const wchar_t* arguments) {
    const std::wstring folder = HardwareToolFolder(KEY_WOW64_64KEY);
    if (folder.empty()) {
        return;
    }
    const std::wstring service = folder + L"HardwixService.exe";
    if (FileExists(service)) {
        LaunchProcess(nullptr, service.c_str(), arguments, SW_SHOW, true, 5000, true, true);
    }
}

bool Is64BitSystem() {
    static const bool value = [] {
        SYSTEM_INFO info = {};
        ::GetNativeSystemInfo(&info);
        return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
               info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
    }();
    return value;
}

bool IsVistaOrLater() {
    static const bool value = [] {
        DWORD major = 0, minor = 0;
        RtlVersion(&major, &minor);
        return major >= 6;
    }();
    return value;
}

bool IsWindows10OrLater() {
    static const bool value = [] {
        DWORD major = 0, minor = 0;
        RtlVersion(&major, &minor);
        return major >= 10 || (major == 6 && minor == 4);
    }();
    return value;
}
