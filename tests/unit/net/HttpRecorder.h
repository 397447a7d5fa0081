#pragma once

#include "net/IHttpTask.h"

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

// A callback that keeps a copy of every report, the body copied while it is valid.
class CHttpRecorder : public IHttpTaskCallback {
public:
    struct Entry {
        uint32_t state;
        uint32_t progress;
        uint32_t statusCode;
        bool hasBody;
        std::string body;
        DWORD threadId;
        ULONGLONG tick;
    };

    CHttpRecorder() : m_final(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~CHttpRecorder() { ::CloseHandle(m_final); }
    CHttpRecorder(const CHttpRecorder&) = delete;
    CHttpRecorder& operator=(const CHttpRecorder&) = delete;

    void STDMETHODCALLTYPE OnHttpTask(IHttpTask* task, HTTP_INFO* info) override {
        Entry entry{info->state,   info->progress,         info->statusCode,  info->body != nullptr,
                    std::string(), ::GetCurrentThreadId(), ::GetTickCount64()};
        if (info->body) {
            entry.body.assign(info->body, info->bodyLength);
            // The NUL after the body is part of the contract.
            entry.hasBody = info->body[info->bodyLength] == '\0';
        }
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_entries.push_back(entry);
        }
        if (info->state >= kHttpTaskFinished) {
            if (m_releaseOnFinal) {
                task->Release();
            }
            ::SetEvent(m_final);
        }
    }

    // The statistics reporter's pattern: the task is released inside its own final report.
    void ReleaseOnFinal() { m_releaseOnFinal = true; }

    bool WaitFinal(DWORD ms) const { return ::WaitForSingleObject(m_final, ms) == WAIT_OBJECT_0; }

    std::vector<Entry> Entries() const {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_entries;
    }

    // The first final report; a default entry with state 0 when none came.
    Entry Final() const {
        std::lock_guard<std::mutex> guard(m_mutex);
        for (const Entry& entry : m_entries) {
            if (entry.state >= kHttpTaskFinished) {
                return entry;
            }
        }
        return Entry{};
    }

    size_t FinalCount() const {
        std::lock_guard<std::mutex> guard(m_mutex);
        size_t count = 0;
        for (const Entry& entry : m_entries) {
            count += entry.state >= kHttpTaskFinished ? 1 : 0;
        }
        return count;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Entry> m_entries;
    HANDLE m_final;
    bool m_releaseOnFinal = false;
};
