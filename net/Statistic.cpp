#include "net/Statistic.h"

#include "app/IniSettings.h"
#include "app/SystemUtils.h"
#include "integrity/MachineId.h"
#include "net/HttpService.h"
#include "net/ServiceHosts.h"

#include <windows.h>

#include <mutex>
#include <utility>

namespace {

std::wstring ModulePath() {
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    return std::wstring(path, length);
}

std::wstring VersionOf(const std::wstring& path) {
    std::wstring text;
    return GetFileVersionText(path.c_str(), &text) ? text : std::wstring();
}

std::wstring SiblingPath(const wchar_t* fileName) {
    const std::wstring self = ModulePath();
    return self.substr(0, self.find_last_of(L"\\/") + 1) + fileName;
}

void ReplaceAll(std::wstring& text, const std::wstring& placeholder, const std::wstring& value) {
    for (size_t at = text.find(placeholder); at != std::wstring::npos; at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
}

} // namespace

CStatistic::CStatistic()
    : CStatistic(
          StatisticSources{[] { return CIniSettings::GetInstance()->GetRegPid(); }, &GetMachineId,
                           [] { return VersionOf(SiblingPath(L"Vexawpapp.exe")); },
                           [] { return VersionOf(ModulePath()); }},
          [] { return CHttpService::GetInstance()->CreateTask(); },
          [] { return CServiceHosts::GetInstance()->Stats(); }) {}

CStatistic::CStatistic(StatisticSources sources, TaskFactory createTask, BaseUrlSource baseUrl)
    : m_sources(std::move(sources)), m_createTask(std::move(createTask)), m_baseUrl(std::move(baseUrl)) {}

void CStatistic::FillOnce(std::wstring& field, const std::function<std::wstring()>& source) {
    if (field.empty() && source) {
        field = source();
    }
}

bool CStatistic::Report(const wchar_t* type, const wchar_t* action) {
    if (!type || !action) {
        return false;
    }
    std::wstring url = m_baseUrl() + kUrlTemplate;
    std::unique_lock<std::mutex> fieldsLock(m_fieldsMutex);
    FillOnce(m_pid, m_sources.pid);
    FillOnce(m_mid, m_sources.mid);
    FillOnce(m_appver, m_sources.appver);
    FillOnce(m_modver, m_sources.modver);
    // The service reads the values as they come; they are not URL-encoded.
    const std::pair<const wchar_t*, std::wstring> fields[] = {
        {L"{pid}", m_pid},       {L"{mid}", m_mid}, {L"{appver}", m_appver},
        {L"{modver}", m_modver}, {L"{type}", type}, {L"{action}", action},
    };
    for (const auto& [placeholder, value] : fields) {
        ReplaceAll(url, placeholder, value);
    }
    fieldsLock.unlock();
    IHttpTask* task = m_createTask();
    if (!task) {
        return false;
    }
    task->SetCallback(this);
    task->AddHeader("Connection", "Close");
    if (!task->Start(0, url.c_str())) {
        task->Release();
        return false;
    }
    return true;
}

void CStatistic::OnHttpTask(IHttpTask* task, HTTP_INFO* info) {
    if (task && info && (info->state == kHttpTaskFinished || info->state == kHttpTaskFailed)) {
        task->Release();
    }
}
