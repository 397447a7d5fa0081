#pragma once

#include "app/base/IHttpTask.h"

#include <windows.h>

#include <mutex>
#include <string>

// A callback that counts every report and keeps a copy of the first final one's body, copied while it is valid.
class CHttpRecorder : public IHttpTaskCallback {
public:
    CHttpRecorder() : m_final(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~CHttpRecorder() { ::CloseHandle(m_final); }
    CHttpRecorder(const CHttpRecorder&) = delete;
    CHttpRecorder& operator=(const CHttpRecorder&) = delete;

    void STDMETHODCALLTYPE OnHttpTask(IHttpTask*, HTTP_INFO* info) override {
        std::lock_guard<std::mutex> guard(m_mutex);
        ++m_reports;
        if (info->state >= kHttpTaskFinished && m_finals++ == 0) {
            m_body = info->body ? std::string(info->body, info->bodyLength) : std::string();
            ::SetEvent(m_final);
        }
    }

    // The first final report's body once it came within ms; empty when none did.
    std::string FinalBody(DWORD ms) {
        ::WaitForSingleObject(m_final, ms);
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_body;
    }
    size_t Reports() {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_reports;
    }
    size_t FinalCount() {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_finals;
    }

private:
    std::mutex m_mutex;
    size_t m_reports = 0, m_finals = 0;
    std::string m_body;
    HANDLE m_final;
};
