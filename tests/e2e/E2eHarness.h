#pragma once

// Helpers for tests and benchmarks that drive the real programs of the runnable tree: where the
// programs, the log and the data folder are, polling with deadlines, windows, processes and the screen.
// Plain functions over Win32, without the test framework, so the benchmark program shares them.

#include "app/base/ScopedHandle.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Polls done() every step until it holds or timeout has passed; the result is done()'s last answer.
template <class Predicate>
bool WaitUntil(Predicate done, std::chrono::milliseconds timeout, std::chrono::milliseconds step = 10ms) {
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        if (Clock::now() >= deadline) {
            return done();
        }
        std::this_thread::sleep_for(step);
    }
    return true;
}

inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

inline std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// A Unix path as Wine names it for Windows programs; a Windows path is returned as it is.
inline std::wstring WindowsPathOf(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return std::wstring(path.begin(), path.end());
    }
    using DosName = WCHAR*(CDECL*)(LPCSTR);
    auto toDos = reinterpret_cast<DosName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (WCHAR* dos = toDos ? toDos(path.c_str()) : nullptr) {
        std::wstring result = dos;
        ::HeapFree(::GetProcessHeap(), 0, dos);
        return result;
    }
    // Wine maps the Unix root to drive Z: in every prefix it creates.
    std::wstring result = L"Z:";
    for (char c : path) {
        result.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
    }
    return result;
}

// The runnable tree: DESKLING_BIN_DIR, or "bin" beside the folder of this program (the build puts test
// programs in <build>/tests and shipped ones in <build>/bin).
inline std::wstring BinDir() {
    static const std::wstring dir = [] {
        std::wstring found;
        if (const char* env = std::getenv("DESKLING_BIN_DIR"); env && *env) {
            found = WindowsPathOf(env);
        } else {
            wchar_t self[MAX_PATH * 4] = {};
            ::GetModuleFileNameW(nullptr, self, ARRAYSIZE(self));
            found = FolderOf(FolderOf(self)) + L"\\bin";
        }
        while (!found.empty() && (found.back() == L'\\' || found.back() == L'/')) {
            found.pop_back();
        }
        return found;
    }();
    return dir;
}

inline std::wstring DesklingExe() {
    return BinDir() + L"\\deskling.exe";
}
inline std::wstring CompanionExe() {
    return BinDir() + L"\\Vexawpapp.exe";
}

inline std::wstring RoamingAppData(const wchar_t* below) {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return path + std::wstring(below);
}
inline std::wstring LogPath() {
    return RoamingAppData(L"\\brako\\Log\\Vexadeskling.log");
}
inline std::wstring LogSwitchPath() {
    return LogPath() + L".on";
}
inline std::wstring DataFolder() {
    return RoamingAppData(L"\\deskling");
}

inline bool PathExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool EnsureFolder(const std::wstring& path) {
    int result = ::SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

inline bool WriteTextFile(const std::wstring& path, const std::string& bytes) {
    CFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Deletes a file or a whole folder, read-only entries included (a link is removed, never followed);
// true when nothing is left.
inline bool DeleteTree(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return ::DeleteFileW(path.c_str()) != FALSE;
    }
    WIN32_FIND_DATAW entry;
    CFindHandle find(attributes & FILE_ATTRIBUTE_REPARSE_POINT ? nullptr
                                                               : ::FindFirstFileW((path + L"\\*").c_str(), &entry));
    for (bool more = static_cast<bool>(find); more; more = ::FindNextFileW(find.Get(), &entry)) {
        if (std::wstring name = entry.cFileName; name != L"." && name != L"..") {
            DeleteTree(path + L"\\" + name);
        }
    }
    return ::RemoveDirectoryW(path.c_str()) != FALSE;
}

// A new empty folder under the temporary folder, named after tag and this process.
inline std::wstring MakeTempFolder(const std::wstring& tag) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(ARRAYSIZE(temp), temp);
    static unsigned counter = 0;
    std::wstring folder = std::wstring(temp) + L"deskling-" + tag + L"-" + std::to_wstring(::GetCurrentProcessId()) +
                          L"-" + std::to_wstring(++counter);
    DeleteTree(folder);
    return EnsureFolder(folder) ? folder : std::wstring();
}

// The runnable tree (its files and the net\\ folder) copied into `tree` beside a services.ini that names
// `serviceUrl` for every host but those given another address in `hosts`; the copied deskling.exe, or empty
// when something could not be written.
inline std::wstring CopyTreeWithServices(const std::wstring& tree, const std::string& serviceUrl,
                                         const std::map<std::string, std::string>& hosts = {}) {
    for (const wchar_t* below : {L"", L"\\net"}) {
        WIN32_FIND_DATAW entry;
        CFindHandle find(::FindFirstFileW((BinDir() + below + L"\\*").c_str(), &entry));
        for (bool more = EnsureFolder(tree + below) && find; more; more = ::FindNextFileW(find.Get(), &entry)) {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                ::CopyFileW((BinDir() + below + L"\\" + entry.cFileName).c_str(),
                            (tree + below + L"\\" + entry.cFileName).c_str(), FALSE);
            }
        }
    }
    std::string ini = "[hosts]\r\n";
    for (const char* key : {"weather_cdn", "weather_origin", "static_cdn", "wallpaper", "stats", "tool_download"}) {
        const auto given = hosts.find(key);
        ini += std::string(key) + "=" + (given == hosts.end() ? serviceUrl : given->second) + "\r\n";
    }
    return WriteTextFile(tree + L"\\services.ini", ini) ? tree + L"\\deskling.exe" : std::wstring();
}

// Switches the log on for processes started from now on.
inline bool EnableLog() {
    return EnsureFolder(FolderOf(LogPath())) && (PathExists(LogSwitchPath()) || WriteTextFile(LogSwitchPath(), {}));
}

inline bool ClearLog() {
    return ::DeleteFileW(LogPath().c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

// The raw bytes of a file another process may still be writing; empty when there is none.
inline std::string ReadFileBytes(const std::wstring& path) {
    CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (file && ::ReadFile(file.Get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    return bytes;
}

// The log, written as code page 936 text; empty when there is none.
inline std::wstring ReadLog() {
    const std::string bytes = ReadFileBytes(LogPath());
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(::MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                          text.data(), static_cast<int>(text.size()))));
    return text;
}

inline size_t CountInLog(const std::wstring& part) {
    const std::wstring text = ReadLog();
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

inline bool WaitForLog(const std::wstring& part, std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return CountInLog(part) > 0; }, timeout, 20ms);
}

// Top-level windows of a class (hidden ones included), optionally only those of one process.
inline std::vector<HWND> FindTopLevelWindows(const std::wstring& className, DWORD processId = 0) {
    std::vector<HWND> found;
    for (HWND hwnd = ::FindWindowExW(nullptr, nullptr, className.c_str(), nullptr); hwnd;
         hwnd = ::FindWindowExW(nullptr, hwnd, className.c_str(), nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (processId == 0 || processId == owner) {
            found.push_back(hwnd);
        }
    }
    return found;
}

inline HWND WaitForWindow(const std::wstring& className, DWORD processId, std::chrono::milliseconds timeout) {
    std::vector<HWND> found;
    WaitUntil([&] { return !(found = FindTopLevelWindows(className, processId)).empty(); }, timeout);
    return found.empty() ? nullptr : found.front();
}

// Ids of the running processes whose executable file name is exeName (case-insensitive).
inline std::vector<DWORD> ProcessIdsNamed(const std::wstring& exeName) {
    std::vector<DWORD> ids;
    CFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = snapshot && ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (::lstrcmpiW(entry.szExeFile, exeName.c_str()) == 0) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    return ids;
}

// Ends every running process of that executable name, as a crashed or failed run may have left them.
inline void EndProcessesNamed(const std::wstring& exeName) {
    for (DWORD id : ProcessIdsNamed(exeName)) {
        CKernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (process && ::TerminateProcess(process.Get(), 1)) {
            ::WaitForSingleObject(process.Get(), 5000);
        }
    }
}

// No hardware tool in the machine: its service ended, the folder it was installed into gone, and no setup record
// in either registry view; true when the folder is gone.
inline bool RemoveHardwareTool(const std::wstring& folder) {
    EndProcessesNamed(L"HardwixService.exe");
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Brako", view, 0);
    }
    return DeleteTree(folder);
}

// Wine runs each Windows process as one Unix process, whose figures the Windows calls for other processes
// leave at zero; /proc, which drive Z: reaches, has them.
inline std::string ReadUnixFile(const std::wstring& path) {
    std::ifstream in{std::filesystem::path(path), std::ios::binary};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The /proc folder of the Unix process whose command line (its arguments apart, each ended by a zero)
// holds both parts; empty when there is none.
inline std::wstring UnixProcessFolder(const char* part, const char* otherPart) {
    WIN32_FIND_DATAW entry;
    CFindHandle find(::FindFirstFileW(L"Z:\\proc\\*", &entry));
    for (bool more = static_cast<bool>(find); more; more = ::FindNextFileW(find.Get(), &entry)) {
        const std::wstring folder = std::wstring(L"Z:\\proc\\") + entry.cFileName;
        const std::string commandLine = iswdigit(entry.cFileName[0]) ? ReadUnixFile(folder + L"\\cmdline") : "";
        if (commandLine.find(part) != std::string::npos && commandLine.find(otherPart) != std::string::npos) {
            return folder;
        }
    }
    return {};
}

// A figure in megabytes from the status file of a Unix process's /proc folder ("VmRSS:", "RssAnon:").
inline double UnixStatusMegabytes(const std::wstring& folder, const char* field) {
    const std::string status = ReadUnixFile(folder + L"\\status");
    const size_t at = status.find(field);
    return at == std::string::npos ? -1.0 : std::atof(status.c_str() + at + std::strlen(field)) / 1024.0;
}

// A pixel as the X server shows it, layered windows blended over what lies below them.
inline COLORREF ScreenPixel(int x, int y) {
    CWindowDC screen(nullptr);
    return ::GetPixel(screen.Get(), x, y);
}

// Every step-th pixel of a rectangle of the screen, row by row: enough to tell what an area shows, in few reads.
inline std::vector<COLORREF> ScreenSamples(const RECT& area, int step = 3) {
    CWindowDC screen(nullptr);
    std::vector<COLORREF> samples;
    for (int y = area.top; y < area.bottom; y += step) {
        for (int x = area.left; x < area.right; x += step) {
            samples.push_back(::GetPixel(screen.Get(), x, y));
        }
    }
    return samples;
}

inline bool Near(COLORREF a, COLORREF b, int tolerance = 8) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

} // namespace e2e
