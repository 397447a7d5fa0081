#include "app/shell/InstanceMutex.h"

#include <tlhelp32.h>

#include "app/shell/ForwardedCommandLine.h"
#include "app/base/ScopedHandle.h"
#include "app/base/SmartLogger.h"

namespace {

constexpr const wchar_t* kMainWindowClass = L"VexawpMainWndClass";
constexpr DWORD kPathChars = 1024;
constexpr DWORD kFindRetryMs = 500;

std::wstring FileNamePart(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring ProcessImagePath(DWORD pid) {
    CKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) {
        process.Reset(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    }
    if (!process) {
        return std::wstring();
    }
    wchar_t path[kPathChars] = {};
    DWORD size = kPathChars;
    if (!::QueryFullProcessImageNameW(process.Get(), 0, path, &size)) {
        return std::wstring();
    }
    std::wstring result(path, size);
    if (result.find(L'~') != std::wstring::npos) {
        wchar_t longPath[kPathChars] = {};
        DWORD n = ::GetLongPathNameW(result.c_str(), longPath, kPathChars);
        if (n > 0 && n < kPathChars) {
            result.assign(longPath, n);
        }
    }
    return result;
}

// Every other process whose executable carries one of our two names, in snapshot order.
std::vector<DWORD> FindCandidateProcesses(const std::wstring& longName, const std::wstring& shortName) {
    std::vector<DWORD> candidates;
    CFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return candidates;
    }
    DWORD self = ::GetCurrentProcessId();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == self) {
            continue;
        }
        if (::lstrcmpiW(entry.szExeFile, longName.c_str()) != 0 &&
            ::lstrcmpiW(entry.szExeFile, shortName.c_str()) != 0) {
            continue;
        }
        WriteLog(L" [tid:%d] Process32First Find th32ProcessID:%d, szExeFile:%s", ::GetCurrentThreadId(),
                 entry.th32ProcessID, entry.szExeFile);
        WriteLog(L" [tid:%d] IsVexaProcess ProcessID:%d ProcessPath:%s sign:%d", ::GetCurrentThreadId(),
                 entry.th32ProcessID, ProcessImagePath(entry.th32ProcessID).c_str(), 1);
        candidates.push_back(entry.th32ProcessID);
    }
    return candidates;
}

HWND FindProcessWindow(DWORD pid, const wchar_t* windowClass) {
    for (HWND hwnd = ::FindWindowExW(nullptr, nullptr, windowClass, nullptr); hwnd;
         hwnd = ::FindWindowExW(nullptr, hwnd, windowClass, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner == pid) {
            return hwnd;
        }
    }
    return nullptr;
}

} // namespace

CInstanceMutex::CInstanceMutex() {
    ::InitializeCriticalSection(&m_lock);
    m_guard = ::CreateMutexW(nullptr, FALSE, kGuardMutexName);
}

CInstanceMutex::~CInstanceMutex() {
    ::EnterCriticalSection(&m_lock);
    for (HANDLE h : m_ownedMutexes) {
        ::ReleaseMutex(h);
        ::CloseHandle(h);
    }
    m_ownedMutexes.clear();
    ::LeaveCriticalSection(&m_lock);
    if (m_guard) {
        ::CloseHandle(m_guard);
        m_guard = nullptr;
    }
    ::DeleteCriticalSection(&m_lock);
}

bool CInstanceMutex::CheckSingleInstance() {
    wchar_t modulePath[kPathChars] = {};
    wchar_t longPath[kPathChars] = {};
    wchar_t shortPath[kPathChars] = {};
    ::GetModuleFileNameW(nullptr, modulePath, kPathChars);
    if (!::GetLongPathNameW(modulePath, longPath, kPathChars)) {
        ::lstrcpynW(longPath, modulePath, kPathChars);
    }
    if (!::GetShortPathNameW(modulePath, shortPath, kPathChars)) {
        ::lstrcpynW(shortPath, modulePath, kPathChars);
    }
    std::wstring longName = FileNamePart(longPath);
    std::wstring shortName = FileNamePart(shortPath);
    WriteLog(L" [tid:%d] CheckSingleInstance longFileName:%s, shortFileName:%s", ::GetCurrentThreadId(),
             longName.c_str(), shortName.c_str());

    HWND running = CheckInstance(kInstanceMutexName, kMainWindowClass, longName, shortName);
    if (!running) {
        return true;
    }
    WriteLog(L" [tid:%d] CheckInstance hWnd:0x%08x", ::GetCurrentThreadId(),
             static_cast<unsigned>(reinterpret_cast<UINT_PTR>(running)));
    ForwardCommandLine(running, ::GetCommandLineW());
    return false;
}

HWND CInstanceMutex::CheckInstance(const wchar_t* mutexName, const wchar_t* windowClass, const std::wstring& longName,
                                   const std::wstring& shortName) {
    // Serialises processes that start at the same moment, so exactly one of them claims the mutex.
    CMutexLock guard(m_guard, INFINITE);

    HANDLE mutex = ::CreateMutexW(nullptr, TRUE, mutexName);
    DWORD error = ::GetLastError();
    if (!mutex) {
        return nullptr;
    }
    WriteLog(L" [tid:%d] CheckInstance CreateMutex:0x%08x error:%d", ::GetCurrentThreadId(),
             static_cast<unsigned>(reinterpret_cast<UINT_PTR>(mutex)), error);
    if (error != ERROR_ALREADY_EXISTS) {
        ::EnterCriticalSection(&m_lock);
        m_ownedMutexes.push_back(mutex);
        ::LeaveCriticalSection(&m_lock);
        return nullptr;
    }
    ::CloseHandle(mutex);

    std::vector<DWORD> candidates = FindCandidateProcesses(longName, shortName);
    WriteLog(L" [tid:%d] CheckInstance processIdVec:%d", ::GetCurrentThreadId(), static_cast<int>(candidates.size()));
    for (DWORD pid : candidates) {
        WriteLog(L" [tid:%d] CheckInstance processId:%d", ::GetCurrentThreadId(), pid);
        HWND found = FindProcessWindow(pid, windowClass);
        if (!found) {
            // The other process may still be creating its main window.
            ::Sleep(kFindRetryMs);
            found = FindProcessWindow(pid, windowClass);
        }
        if (found) {
            return found;
        }
        WriteLog(L" [tid:%d] processId:%d findWnd failed", ::GetCurrentThreadId(), pid);
    }
    return nullptr;
}

void ForwardCommandLine(HWND target, const wchar_t* commandLine) {
    const wchar_t* text = commandLine ? commandLine : L"";
    COPYDATASTRUCT record = {};
    record.dwData = kCopyDataCommandLineTag;
    record.cbData = static_cast<DWORD>((::lstrlenW(text) + 1) * sizeof(wchar_t));
    record.lpData = const_cast<wchar_t*>(text);
    DWORD_PTR reply = 0;
    ::SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record), SMTO_BLOCK, 1000, &reply);
}
