#pragma once

#include "app/base/IHttpTask.h"
#include "app/base/ScopedHandle.h"

#include <winhttp.h>

#include <string>

class CHttpManager;

// One task of the library. A transfer runs on a thread of the system's pool and holds a reference on the task
// and on the library module, so neither goes away under it; Release only stops the reports.
class CHttpTask final : public IHttpTask {
public:
    explicit CHttpTask(CHttpManager& manager);
    CHttpTask(const CHttpTask&) = delete;
    CHttpTask& operator=(const CHttpTask&) = delete;

    void STDMETHODCALLTYPE SetCallback(IHttpTaskCallback* callback) override;
    bool STDMETHODCALLTYPE Start(int mode, const wchar_t* url) override;
    void STDMETHODCALLTYPE Release() override;
    bool STDMETHODCALLTYPE AddHeader(const char* name, const char* value) override;
    bool STDMETHODCALLTYPE SetSaveFile(const wchar_t* path) override;
    bool STDMETHODCALLTYPE SetOption(const char* name, int value) override;

    // Stops reporting for good, as Release does, without giving up the owner's reference: used when
    // the library shuts down under tasks whose owners still hold them.
    void Silence();

    // A reference for the manager, unless the task is already being destroyed.
    bool TryAddRef();
    void DropRef();

private:
    // What one transfer needs, copied at Start so the owner may change the task meanwhile.
    struct Request {
        std::wstring url;
        std::wstring headers;
        std::wstring saveFile;
        bool gzip = true;
        bool ungzip = true;
        // False once the owner added "Connection: Close".
        bool keepAlive = true;
        int connectTimeout = 0;
        int receiveTimeout = 0;
        uint64_t maxBytes = kHttpDefaultMaxBytes;
    };

    // Handed to the transfer thread.
    struct Transfer {
        CHttpTask* task;
        HMODULE module;
        Request request;
    };

    ~CHttpTask();
    void AddRef();

    static void CALLBACK TransferProc(PTP_CALLBACK_INSTANCE instance, void* parameter);
    void Run(const Request& request);
    // Fills info with the outcome; body receives the response when there is no save file.
    void Fetch(const Request& request, HTTP_INFO& info, std::string& body);
    bool IsSilenced() const;
    // The open request of the running transfer, which Silence closes from another thread to cancel a
    // call blocked on it. Attach fails once the task is silenced; Detach tells whether the request is
    // still the transfer's to close (false when Silence has closed it).
    bool AttachRequest(HINTERNET request);
    bool DetachRequest(HINTERNET request);
    // Hands one report to the callback unless the task was released; true when it was delivered.
    bool Report(HTTP_INFO& info);

    CHttpManager& m_manager;
    volatile LONG m_refs = 1;
    mutable SRWLOCK m_lock = SRWLOCK_INIT;
    // Guarded by m_lock.
    IHttpTaskCallback* m_callback = nullptr;
    bool m_silenced = false;
    bool m_running = false;
    int m_reportsInFlight = 0;
    HINTERNET m_request = nullptr;
    // Manual-reset, made by the first Silence that has to wait and set when the last report in flight ends.
    CKernelHandle m_reportsDone;

    // Used only on the owner's thread.
    Request m_next;
};
