#include "weather/ServiceRequester.h"

#include <windows.h>

#include <algorithm>

#include "app/UIThreadWindow.h"
#include "app/base/SimpleBind.h"
#include "app/base/SmartLogger.h"
#include "net/HttpService.h"

// One final report on its way to the UI thread. A single request's task comes back in claimed, to be
// released on the network thread inside its own report: released on the UI thread, it would wait for
// the report that is waiting for the UI thread.
struct CServiceRequester::Completion {
    IHttpTask* task;
    HttpAnswer answer;
    TaskPtr claimed;
};

CServiceRequester::CServiceRequester(CHttpService* http) : m_http(http) {}

CServiceRequester::~CServiceRequester() {
    // Releasing a task waits for its report in flight while answering the UI-thread hand-over, which
    // then finds m_closing and leaves the half-destroyed object alone.
    m_closing = true;
    m_keptTask.reset();
    m_tasks.clear();
}

IHttpTask* CServiceRequester::NewTask() {
    IHttpTask* task = m_http ? m_http->CreateTask() : nullptr;
    if (task) {
        task->SetCallback(this);
    }
    return task;
}

bool CServiceRequester::StartRequest(const std::wstring& url) {
    TaskPtr task(NewTask());
    if (!task || !task->Start(0, url.c_str())) {
        WriteLog(L"[tid:%d] weather service: request not started: %s", ::GetCurrentThreadId(), url.c_str());
        return false;
    }
    m_tasks.push_back(std::move(task));
    return true;
}

bool CServiceRequester::StartKeptRequest(const std::wstring& url) {
    if (!m_keptTask) {
        m_keptTask.reset(NewTask());
    }
    if (!m_keptTask || !m_keptTask->Start(0, url.c_str())) {
        WriteLog(L"[tid:%d] weather service: request not started: %s", ::GetCurrentThreadId(), url.c_str());
        return false;
    }
    return true;
}

void STDMETHODCALLTYPE CServiceRequester::OnHttpTask(IHttpTask* task, HTTP_INFO* info) {
    if (!info || info->state == kHttpTaskStarted || info->state == kHttpTaskProgress) {
        return;
    }
    Completion done{task, {info->state, info->statusCode, {}}, nullptr};
    if (info->body) {
        done.answer.body = std::string_view(info->body, info->bodyLength);
    }
    mf_bind_t_1<CServiceRequester, Completion*> hand(this, &CServiceRequester::Complete, &done);
    if (!RunOnUIThread(&hand)) {
        WriteLog(L"[tid:%d] weather service: answer dropped, no UI thread", ::GetCurrentThreadId());
    }
    done.claimed.reset();
}

void CServiceRequester::Complete(Completion* done) {
    if (m_closing) {
        return;
    }
    const auto own =
        std::find_if(m_tasks.begin(), m_tasks.end(), [&](const TaskPtr& task) { return task.get() == done->task; });
    if (own != m_tasks.end()) {
        done->claimed = std::move(*own);
        m_tasks.erase(own);
    }
    OnAnswer(done->answer);
}
