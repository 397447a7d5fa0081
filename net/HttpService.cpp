#include "net/HttpService.h"

#include "app/base/SmartLogger.h"
#include "app/TrustedFile.h"

namespace {

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ExecutableFolder() {
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    std::wstring folder(path, length);
    const size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

} // namespace

CHttpService::~CHttpService() {
    Shutdown();
}

bool CHttpService::Init() {
    if (m_initialised) {
        return true;
    }
    return InitFromFolder(ExecutableFolder());
}

bool CHttpService::InitFromFolder(const std::wstring& folder) {
    if (m_initialised) {
        return true;
    }
    std::wstring path = folder + L"\\VexaNetUL.dll";
    if (!IsFile(path)) {
        path = folder + L"\\wallpaperhelper\\VexaNetUL.dll";
        if (!IsFile(path)) {
            WriteLog(L"[tid:%d] VexaNetUL.dll not found in %s", ::GetCurrentThreadId(), folder.c_str());
            return false;
        }
    }
    m_module = LoadTrustedLibrary(path.c_str());
    const DWORD error = m_module ? ERROR_SUCCESS : ::GetLastError();
    if (error == ERROR_ACCESS_DISABLED_BY_POLICY) {
        WriteLog(L"[tid:%d] VexaNetUL.dll not trusted: %s", ::GetCurrentThreadId(), path.c_str());
        return false;
    }
    m_initialised = true;
    if (!m_module) {
        WriteLog(L"[tid:%d] load %s failed, error %u", ::GetCurrentThreadId(), path.c_str(), error);
        return true;
    }
    m_httpInit = reinterpret_cast<PFN_HttpInit>(reinterpret_cast<void*>(::GetProcAddress(m_module.Get(), "HttpInit")));
    m_httpUninit =
        reinterpret_cast<PFN_HttpUninit>(reinterpret_cast<void*>(::GetProcAddress(m_module.Get(), "HttpUninit")));
    if (m_httpInit) {
        m_manager = m_httpInit();
    }
    if (!m_manager) {
        WriteLog(L"[tid:%d] HttpInit gave no manager", ::GetCurrentThreadId());
    }
    return true;
}

void CHttpService::Shutdown() {
    if (!m_initialised) {
        return;
    }
    m_initialised = false;
    if (m_httpUninit) {
        m_httpUninit(m_manager);
    }
    m_manager = nullptr;
    if (m_module) {
        m_httpInit = nullptr;
        m_httpUninit = nullptr;
        m_module.Reset();
    }
}

IHttpTask* CHttpService::CreateTask() {
    if (!Init() || !m_manager) {
        return nullptr;
    }
    IHttpTask* task = m_manager->CreateTask();
    if (!task) {
        return nullptr;
    }
    task->SetOption("ungzip", 0);
    task->SetOption("gzip", 0);
    task->SetOption(kHttpOptionMaxBytes, kAnswerMaxBytes);
    return task;
}
