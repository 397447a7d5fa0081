#include "companions/netul/HttpTask.h"

#include "app/base/ScopedHandle.h"
#include "companions/netul/HttpManager.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>
#include <utility>

namespace {

constexpr int kDefaultConnectTimeoutMs = 10000;
constexpr int kDefaultReceiveTimeoutMs = 30000;
constexpr DWORD kReadChunk = 16 * 1024;

// The task whose report this thread is delivering, so that Release from inside the callback does
// not wait for the report to end.
thread_local const CHttpTask* t_reportingTask = nullptr;

class CExclusive {
public:
    explicit CExclusive(SRWLOCK& lock) : m_lock(lock) { ::AcquireSRWLockExclusive(&m_lock); }
    ~CExclusive() { ::ReleaseSRWLockExclusive(&m_lock); }
    CExclusive(const CExclusive&) = delete;
    CExclusive& operator=(const CExclusive&) = delete;

private:
    SRWLOCK& m_lock;
};

struct InternetHandleTraits : CHandleTraitsBase<HINTERNET, nullptr> {
    static void Close(HINTERNET h) { ::WinHttpCloseHandle(h); }
};
using CInternetHandle = CScopedHandle<InternetHandleTraits>;

std::wstring Widen(const char* text) {
    std::wstring wide;
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length > 1) {
        wide.resize(static_cast<size_t>(length));
        ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
        wide.resize(static_cast<size_t>(length - 1));
    }
    return wide;
}

// Waits for the event while still answering messages sent to this thread: a callback in flight may
// be waiting for this very thread (the UI thread) to run a task for it.
void WaitPumpingSentMessages(HANDLE event) {
    for (;;) {
        const DWORD result = ::MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) {
            return;
        }
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// An IPv4 address, or an IPv6 one in the brackets URLs write it in.
bool IsAddressLiteral(const std::wstring& host) {
    IN6_ADDR address = {};
    if (host.size() > 2 && host.front() == L'[' && host.back() == L']') {
        return ::InetPtonW(AF_INET6, host.substr(1, host.size() - 2).c_str(), &address) == 1;
    }
    return ::InetPtonW(AF_INET, host.c_str(), &address) == 1;
}

uint32_t Percent(uint64_t received, uint64_t total) {
    if (total == 0) {
        return 0;
    }
    return received >= total ? 100u : static_cast<uint32_t>(received * 100 / total);
}

} // namespace

CHttpTask::CHttpTask(CHttpManager& manager) : m_manager(manager) {
    m_manager.TaskCreated(this);
}

CHttpTask::~CHttpTask() {
    m_manager.TaskDestroyed(this);
}

void CHttpTask::AddRef() {
    ::InterlockedIncrement(&m_refs);
}

bool CHttpTask::TryAddRef() {
    LONG refs = m_refs;
    while (refs > 0) {
        const LONG seen = ::InterlockedCompareExchange(&m_refs, refs + 1, refs);
        if (seen == refs) {
            return true;
        }
        refs = seen;
    }
    return false;
}

void CHttpTask::DropRef() {
    if (::InterlockedDecrement(&m_refs) == 0) {
        delete this;
    }
}

void STDMETHODCALLTYPE CHttpTask::SetCallback(IHttpTaskCallback* callback) {
    CExclusive guard(m_lock);
    m_callback = callback;
}

bool STDMETHODCALLTYPE CHttpTask::AddHeader(const char* name, const char* value) {
    if (!name || !*name || !value || std::strpbrk(name, ":\r\n") || std::strpbrk(value, "\r\n")) {
        return false;
    }
    m_next.headers += Widen(name) + L": " + Widen(value) + L"\r\n";
    if (::lstrcmpiA(name, "Connection") == 0 && ::lstrcmpiA(value, "Close") == 0) {
        m_next.keepAlive = false;
    }
    return true;
}

bool STDMETHODCALLTYPE CHttpTask::SetSaveFile(const wchar_t* path) {
    m_next.saveFile = path ? path : L"";
    return true;
}

bool STDMETHODCALLTYPE CHttpTask::SetOption(const char* name, int value) {
    if (!name) {
        return false;
    }
    if (std::strcmp(name, "gzip") == 0) {
        m_next.gzip = value != 0;
    } else if (std::strcmp(name, "ungzip") == 0) {
        m_next.ungzip = value != 0;
    } else if (std::strcmp(name, "connect_timeout") == 0 && value >= 0) {
        m_next.connectTimeout = value;
    } else if (std::strcmp(name, "receive_timeout") == 0 && value >= 0) {
        m_next.receiveTimeout = value;
    } else if (std::strcmp(name, kHttpOptionMaxBytes) == 0 && value >= 0) {
        m_next.maxBytes = static_cast<uint64_t>(value > 0 ? value : kHttpDefaultMaxBytes);
    } else {
        return false;
    }
    return true;
}

bool STDMETHODCALLTYPE CHttpTask::Start(int mode, const wchar_t* url) {
    if (mode != 0 || !url || !*url) {
        return false;
    }
    {
        CExclusive guard(m_lock);
        if (m_silenced || m_running) {
            return false;
        }
        m_running = true;
    }
    m_next.url = url;
    // The transfer keeps the library loaded until its thread has left the library's code.
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&CHttpTask::TransferProc),
                         &module);
    auto* transfer = new Transfer{this, module, m_next};
    AddRef();
    m_manager.TransferStarted();
    // The system's pool reuses its threads: a thread of its own per transfer cost about 8 ms under Wine.
    if (::TrySubmitThreadpoolCallback(&CHttpTask::TransferProc, transfer, nullptr)) {
        return true;
    }
    delete transfer;
    if (module) {
        ::FreeLibrary(module);
    }
    {
        CExclusive guard(m_lock);
        m_running = false;
    }
    m_manager.TransferEnded();
    DropRef();
    return false;
}

void STDMETHODCALLTYPE CHttpTask::Release() {
    Silence();
    DropRef();
}

void CHttpTask::Silence() {
    HANDLE reportsDone = nullptr;
    HINTERNET request = nullptr;
    {
        CExclusive guard(m_lock);
        m_silenced = true;
        m_callback = nullptr;
        // Only a waiter needs the event: under Wine every event operation is a round trip to the server,
        // which a report on the transfer's path would otherwise pay twice.
        if (m_reportsInFlight > 0 && t_reportingTask != this) {
            if (!m_reportsDone) {
                m_reportsDone.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
            }
            reportsDone = m_reportsDone.Get();
        }
        request = std::exchange(m_request, nullptr);
    }
    // A transfer blocked waiting for the server fails at once when its request is closed.
    if (request) {
        ::WinHttpCloseHandle(request);
    }
    // After this no report reaches the owner: the flag stops new ones, and the one in flight ends.
    if (reportsDone) {
        WaitPumpingSentMessages(reportsDone);
    }
}

bool CHttpTask::IsSilenced() const {
    CExclusive guard(m_lock);
    return m_silenced;
}

bool CHttpTask::AttachRequest(HINTERNET request) {
    CExclusive guard(m_lock);
    if (m_silenced) {
        return false;
    }
    m_request = request;
    return true;
}

bool CHttpTask::DetachRequest(HINTERNET request) {
    CExclusive guard(m_lock);
    if (m_request != request) {
        return false;
    }
    m_request = nullptr;
    return true;
}

void CALLBACK CHttpTask::TransferProc(PTP_CALLBACK_INSTANCE instance, void* parameter) {
    auto* transfer = static_cast<Transfer*>(parameter);
    CHttpTask* task = transfer->task;
    HMODULE module = transfer->module;
    task->Run(transfer->request);
    delete transfer;
    CHttpManager& manager = task->m_manager;
    task->DropRef();
    manager.TransferEnded();
    if (module) {
        ::FreeLibraryWhenCallbackReturns(instance, module);
    }
}

void CHttpTask::Run(const Request& request) {
    HTTP_INFO info = {};
    info.size = sizeof(info);
    info.state = kHttpTaskStarted;
    Report(info);

    std::string body;
    Fetch(request, info, body);
    if (info.state == kHttpTaskFinished) {
        info.progress = 100;
    }
    if (request.saveFile.empty() && info.statusCode != 0) {
        info.body = body.c_str();
        info.bodyLength = static_cast<uint32_t>(body.size());
    }
    // The final report may start the next transfer of this task.
    {
        CExclusive guard(m_lock);
        m_running = false;
    }
    Report(info);
}

bool CHttpTask::Report(HTTP_INFO& info) {
    IHttpTaskCallback* callback = nullptr;
    {
        CExclusive guard(m_lock);
        if (m_silenced || !m_callback) {
            return false;
        }
        callback = m_callback;
        ++m_reportsInFlight;
    }
    const CHttpTask* outer = std::exchange(t_reportingTask, this);
    callback->OnHttpTask(this, &info);
    t_reportingTask = outer;
    CExclusive guard(m_lock);
    // A waiter exists only once the task is silenced, after which no report begins: the count only falls.
    if (--m_reportsInFlight == 0 && m_reportsDone) {
        ::SetEvent(m_reportsDone.Get());
    }
    return true;
}

void CHttpTask::Fetch(const Request& request, HTTP_INFO& info, std::string& body) {
    info.state = kHttpTaskFailed;
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!::WinHttpCrackUrl(request.url.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        info.errorCode = ERROR_WINHTTP_UNRECOGNIZED_SCHEME;
        return;
    }
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty()) {
        path = L"/";
    }

    HINTERNET session = m_manager.Session();
    if (!session) {
        info.errorCode = ::GetLastError();
        return;
    }
    CInternetHandle connection(::WinHttpConnect(session, host.c_str(), parts.nPort, 0));
    const DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
    CInternetHandle http(connection ? ::WinHttpOpenRequest(connection.Get(), L"GET", path.c_str(), nullptr,
                                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags)
                                    : nullptr);
    if (!http) {
        info.errorCode = ::GetLastError();
        return;
    }
    const int connectMs = request.connectTimeout > 0 ? request.connectTimeout : kDefaultConnectTimeoutMs;
    const int receiveMs = request.receiveTimeout > 0 ? request.receiveTimeout : kDefaultReceiveTimeoutMs;
    // Bounding a lookup makes WinHTTP run it on another thread and wait for it; an address written out
    // needs no lookup, so it is resolved where it is, as WinHTTP does without a bound.
    const int resolveMs = IsAddressLiteral(host) ? 0 : connectMs;
    ::WinHttpSetTimeouts(http.Get(), resolveMs, connectMs, receiveMs, receiveMs);
    if (!AttachRequest(http.Get())) {
        info.errorCode = ERROR_WINHTTP_OPERATION_CANCELLED;
        return;
    }
    // Whoever takes the request back from the task closes it: this transfer, or Silence cancelling it.
    struct CRequestLease {
        CHttpTask& task;
        CInternetHandle& http;
        ~CRequestLease() {
            if (!task.DetachRequest(http.Get())) {
                http.Release();
            }
        }
    } lease{*this, http};
    // Waiting for the status line is governed by its own time-out, not by the receive one.
    DWORD responseMs = static_cast<DWORD>(receiveMs);
    ::WinHttpSetOption(http.Get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseMs, sizeof(responseMs));
    std::wstring headers = request.headers;
    if (request.gzip) {
        headers += L"Accept-Encoding: gzip\r\n";
    }
    if (request.ungzip) {
        DWORD decompression = WINHTTP_DECOMPRESSION_FLAG_GZIP;
        ::WinHttpSetOption(http.Get(), WINHTTP_OPTION_DECOMPRESSION, &decompression, sizeof(decompression));
    }
    // A connection the owner asked to close must not go back to the pool: the server drops it after
    // the answer, and a later task that picked it up would fail on its first read.
    if (!request.keepAlive) {
        DWORD feature = WINHTTP_DISABLE_KEEP_ALIVE;
        ::WinHttpSetOption(http.Get(), WINHTTP_OPTION_DISABLE_FEATURE, &feature, sizeof(feature));
    }
    if (!headers.empty()) {
        ::WinHttpAddRequestHeaders(http.Get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                                   WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    }
    if (!::WinHttpSendRequest(http.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !::WinHttpReceiveResponse(http.Get(), nullptr)) {
        info.errorCode = ::GetLastError();
        return;
    }
    DWORD status = 0;
    DWORD size = sizeof(status);
    ::WinHttpQueryHeaders(http.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                          WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
    info.statusCode = status;
    DWORD total = 0;
    size = sizeof(total);
    if (!::WinHttpQueryHeaders(http.Get(), WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                               WINHTTP_HEADER_NAME_BY_INDEX, &total, &size, WINHTTP_NO_HEADER_INDEX)) {
        total = 0;
    }
    info.totalBytes = total;
    if (total > request.maxBytes) {
        info.errorCode = ERROR_FILE_TOO_LARGE;
        return;
    }

    CFileHandle file;
    if (!request.saveFile.empty()) {
        file.Reset(::CreateFileW(request.saveFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            info.errorCode = ::GetLastError();
            return;
        }
    }
    std::string chunk(kReadChunk, '\0');
    uint64_t received = 0;
    uint32_t shownPercent = 0;
    for (;;) {
        if (IsSilenced()) {
            info.errorCode = ERROR_WINHTTP_OPERATION_CANCELLED;
            return;
        }
        DWORD read = 0;
        if (!::WinHttpReadData(http.Get(), chunk.data(), kReadChunk, &read)) {
            info.errorCode = ::GetLastError();
            return;
        }
        if (read == 0) {
            break;
        }
        received += read;
        if (received > request.maxBytes) {
            info.errorCode = ERROR_FILE_TOO_LARGE;
            return;
        }
        if (file) {
            DWORD written = 0;
            if (!::WriteFile(file.Get(), chunk.data(), read, &written, nullptr) || written != read) {
                info.errorCode = ::GetLastError();
                return;
            }
        } else {
            body.append(chunk.data(), read);
        }
        info.receivedBytes = static_cast<uint32_t>(received);
        const uint32_t percent = Percent(received, total);
        if (total != 0 && percent != shownPercent) {
            shownPercent = percent;
            HTTP_INFO progress = info;
            progress.state = kHttpTaskProgress;
            progress.progress = percent;
            Report(progress);
        }
    }
    // A body shorter than announced means the connection broke off.
    if (total != 0 && received < total) {
        info.errorCode = ERROR_WINHTTP_CONNECTION_ERROR;
        return;
    }
    if (status >= 200 && status < 300) {
        info.state = kHttpTaskFinished;
    }
}
