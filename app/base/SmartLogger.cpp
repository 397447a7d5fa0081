#include "app/base/SmartLogger.h"

#include "app/base/DHAutoLock.h"
#include "app/base/FileSystem.h"
#include "app/base/ScopedHandle.h"

#include <shlobj.h>

#include <clocale>
#include <cstdint>
#include <cwchar>
#include <cwctype>

namespace {

constexpr size_t kMaxMessage = 511;
constexpr size_t kMaxPending = 100;
constexpr UINT kLogCodePage = 936;
// Past this size the log moves to "<name>.1" (replacing the one before) and a new file starts, so the
// two together stay within about twice it however long logging stays switched on.
constexpr ULONGLONG kRollBytes = 4 * 1024 * 1024;

void RollIfFull(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (ULONGLONG(data.nFileSizeHigh) << 32 | data.nFileSizeLow) < kRollBytes) {
        return;
    }
    // Should the move fail (a reader holding the file), the lines still go to the full file.
    ::MoveFileExW(path.c_str(), (path + L".1").c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::wstring TimeStamp() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"%04d-%02d-%02d %02d:%02d:%02d ", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                  now.wSecond);
    return text;
}

// What the C runtime's text mode would write for this text under the "chs" locale: GBK bytes with
// every LF preceded by a CR. Converting here keeps the bytes independent of the runtime's locale
// support, which differs between runtimes and Wine versions.
std::string ToFileBytes(const std::wstring& text) {
    std::wstring expanded;
    expanded.reserve(text.size() + 8);
    for (const wchar_t c : text) {
        if (c == L'\n') {
            expanded.push_back(L'\r');
        }
        expanded.push_back(c);
    }
    if (expanded.empty()) {
        return {};
    }
    const int size =
        ::WideCharToMultiByte(kLogCodePage, 0, expanded.data(), int(expanded.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    std::string bytes(size_t(size), '\0');
    ::WideCharToMultiByte(kLogCodePage, 0, expanded.data(), int(expanded.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// The process-wide logger lives in a function-local static so that a static constructor in another
// file may log before this file's statics are built; the flag, constant-initialised and never
// destroyed, turns late calls from other static destructors into no-ops.
bool g_processLoggerGone = false;

struct CProcessLogger {
    CSmartLogger logger{CSmartLogger::GetDefaultBase()};
    ~CProcessLogger() { g_processLoggerGone = true; }
};

// Built before the entry point, so its enabled flag is fixed before any thread starts.
CSmartLogger* const g_processLogger = CSmartLogger::GetInstance();

// The name of the mutex that every process logging to the file shares: the path without case, hashed
// (FNV-1a), since a mutex name cannot hold backslashes.
std::wstring AppendMutexName(const std::wstring& path) {
    uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : path) {
        hash = (hash ^ static_cast<uint64_t>(std::towlower(c))) * 1099511628211ull;
    }
    wchar_t name[64] = {};
    std::swprintf(name, 64, L"Local\\DesklingLogAppend-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

} // namespace

CSmartLogger::CSmartLogger(const std::wstring& base) {
    std::setlocale(LC_ALL, "chs");
    const std::wstring folder = base + L"\\Log\\";
    m_logPath = folder + L"Vexadeskling.log";
    m_enabled = !base.empty() && FileExists(folder + L"Vexadeskling.log.on");
}

CSmartLogger::~CSmartLogger() = default;

CSmartLogger* CSmartLogger::GetInstance() {
    if (g_processLoggerGone) {
        return nullptr;
    }
    static CProcessLogger instance;
    return &instance.logger;
}

std::wstring CSmartLogger::GetDefaultBase() {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)) || !appData[0]) {
        return {};
    }
    std::wstring base = appData;
    if (base.back() != L'\\') {
        base += L'\\';
    }
    return base + L"brako";
}

void CSmartLogger::Write(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    WriteV(format, args);
    va_end(args);
}

void CSmartLogger::WriteV(const wchar_t* format, va_list args) {
    if (!m_enabled || !format) {
        return;
    }
    wchar_t message[kMaxMessage + 1] = {};
    // The runtime's own _vsnwprintf: wide %s, and -1 when the text does not fit in 511 characters.
    const int length = _vsnwprintf(message, kMaxMessage, format, args);
    if (length < 0 || size_t(length) > kMaxMessage) {
        return;
    }
    message[length] = L'\0';

    _BaseModule::CAutoLocker lock(m_lock);
    AddLine(message);
    Flush();
    ClearPending();
}

void CSmartLogger::AddLine(const wchar_t* message) {
    _BaseModule::CAutoLocker lock(m_lock);
    std::wstring line = TimeStamp();
    line += message;
    if (message[0] && line.back() != L'\n') {
        line += L'\n';
    }
    m_pending.push_back(std::move(line));
    if (m_pending.size() > kMaxPending) {
        Flush();
    }
}

void CSmartLogger::Flush() {
    _BaseModule::CAutoLocker lock(m_lock);
    const size_t slash = m_logPath.find_last_of(L'\\');
    if (slash == std::wstring::npos || !CreateFolderTree(m_logPath.substr(0, slash))) {
        m_pending.clear();
        return;
    }
    // Append-only access puts every write at the end of the file, but Wine finds the end and writes
    // in two steps, so two processes appending at once can land on the same place and one line is
    // lost. A mutex named after the file makes the processes take turns; should it not come within
    // a second (a stuck holder), the line is written anyway.
    if (!m_appendTurn) {
        m_appendTurn.Reset(::CreateMutexW(nullptr, FALSE, AppendMutexName(m_logPath).c_str()));
    }
    CMutexLock turn(m_appendTurn.Get(), 1000);
    RollIfFull(m_logPath);
    CFileHandle file(::CreateFileW(m_logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        m_pending.clear();
        return;
    }
    std::wstring text;
    if (m_firstWrite) {
        const std::wstring stamp = TimeStamp();
        text = L"\r\n================== Start Log:" + stamp + L" ==================\n";
        m_firstWrite = false;
    }
    for (const std::wstring& line : m_pending) {
        text += line;
    }
    const std::string bytes = ToFileBytes(text);
    DWORD written = 0;
    ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    m_pending.clear();
}

void CSmartLogger::ClearPending() {
    _BaseModule::CAutoLocker lock(m_lock);
    m_pending.clear();
}

void WriteLog(const wchar_t* format, ...) {
    CSmartLogger* logger = CSmartLogger::GetInstance();
    if (!logger || !logger->IsEnabled()) {
        return;
    }
    va_list args;
    va_start(args, format);
    logger->WriteV(format, args);
    va_end(args);
}
