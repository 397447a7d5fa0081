#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/base/IHttpTask.h"
#include "net/HttpTaskDeletor.h"
#include "net/JsonAnswer.h"

class CHttpService;

// An object that asks the weather service and reads each answer on the UI thread: it is the callback
// of its own tasks, and the network thread waits while the answer is read, so the body needs no copy.
// Requests and answers belong to the UI thread; destroying the object there cancels what is running.
class CServiceRequester : public IHttpTaskCallback {
public:
    explicit CServiceRequester(CHttpService* http);
    virtual ~CServiceRequester();
    CServiceRequester(const CServiceRequester&) = delete;
    CServiceRequester& operator=(const CServiceRequester&) = delete;

    void STDMETHODCALLTYPE OnHttpTask(IHttpTask* task, HTTP_INFO* info) final;

protected:
    // A new task for this one request; false, logged, when no task could be had or started.
    bool StartRequest(const std::wstring& url);
    // The same through the task kept for repeated requests, made on first use.
    bool StartKeptRequest(const std::wstring& url);
    // Each answer, failed ones included; the body is valid during the call only.
    virtual void OnAnswer(const HttpAnswer& answer) = 0;

    CHttpService* Http() const { return m_http; }

private:
    using TaskPtr = std::unique_ptr<IHttpTask, HttpTaskDeletor>;
    struct Completion;

    IHttpTask* NewTask();
    void Complete(Completion* done);

    CHttpService* m_http;
    TaskPtr m_keptTask;
    // Tasks of single requests until their answer has been read.
    std::vector<TaskPtr> m_tasks;
    // Set while the destructor cancels: an answer that is being handed over then is dropped.
    bool m_closing = false;
};
