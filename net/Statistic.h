#pragma once

#include "app/base/SingletonT.h"
#include "app/base/IHttpTask.h"

#include <functional>
#include <mutex>
#include <string>

// Where the four per-process fields of a report come from. Each source is asked again at the next
// report only while its answer is empty.
struct StatisticSources {
    std::function<std::wstring()> pid;
    std::function<std::wstring()> mid;
    std::function<std::wstring()> appver;
    std::function<std::wstring()> modver;
};

// Usage events, one fire-and-forget GET each to "<stats host>/bizhi?pid=..&action=..". Nothing waits
// for a report, nothing retries it, and a failure goes unnoticed. Its own task callback: each task is
// released when its transfer ends, so no report keeps anything alive.
class CStatistic : public CSingletonT<CStatistic>, public IHttpTaskCallback {
public:
    static constexpr const wchar_t* kUrlTemplate =
        L"/bizhi?pid={pid}&mid={mid}&appver={appver}&modver={modver}&type={type}&action={action}";

    using TaskFactory = std::function<IHttpTask*()>;
    using BaseUrlSource = std::function<std::wstring()>;

    // The process's reporter: the wallpaper application's channel id, the machine id, the versions of
    // "Vexawpapp.exe" beside this program and of this program, tasks from CHttpService, and the stats
    // host from CServiceHosts.
    CStatistic();
    // A reporter over other sources; tests use it.
    CStatistic(StatisticSources sources, TaskFactory createTask, BaseUrlSource baseUrl);

    // Starts the request for one event; false when type or action is null or no task can be made or
    // started. Called on the UI thread and on the installer's worker thread.
    bool Report(const wchar_t* type, const wchar_t* action);

    // Runs on the library's threads and touches only the task.
    void STDMETHODCALLTYPE OnHttpTask(IHttpTask* task, HTTP_INFO* info) override;

private:
    static void FillOnce(std::wstring& field, const std::function<std::wstring()>& source);

    StatisticSources m_sources;
    TaskFactory m_createTask;
    BaseUrlSource m_baseUrl;
    // Guards the four cached fields, filled by whichever report comes first.
    std::mutex m_fieldsMutex;
    std::wstring m_pid;
    std::wstring m_mid;
    std::wstring m_appver;
    std::wstring m_modver;
};
