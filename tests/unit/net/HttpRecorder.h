#pragma once

#include "app/base/IHttpTask.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

// A callback that keeps a copy of every report, the body copied while it is valid.
class CHttpRecorder : public IHttpTaskCallback {
public:
    struct Entry {
        uint32_t state;
        uint32_t statusCode;
        std::string body;
        ULONGLONG tick;
    };

    CHttpRecorder() : m_final(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~CHttpRecorder() { ::CloseHandle(m_final); }
    CHttpRecorder(const CHttpRecorder&) = delete;
    CHttpRecorder& operator=(const CHttpRecorder&) = delete;

    void STDMETHODCALLTYPE OnHttpTask(IHttpTask*, HTTP_INFO* info) override {
        Entry entry{info->state, info->statusCode,
                    info->body ? std::string(info->body, info->bodyLength) : std::string(), ::GetTickCount64()};
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_entries.push_back(entry);
        }
        if (IsFinal(entry)) {
            ::SetEvent(m_final);
        }
    }

    bool WaitFinal(DWORD ms) const { return ::WaitForSingleObject(m_final, ms) == WAIT_OBJECT_0; }

    std::vector<Entry> Entries() const {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_entries;
    }

    // The first final report; a default entry with state 0 when none came.
    Entry Final() const {
        const auto entries = Entries();
        const auto final = std::find_if(entries.begin(), entries.end(), IsFinal);
        return final == entries.end() ? Entry{} : *final;
    }

    size_t FinalCount() const {
        const auto entries = Entries();
        return static_cast<size_t>(std::count_if(entries.begin(), entries.end(), IsFinal));
    }

private:
    static bool IsFinal(const Entry& entry) { return entry.state >= kHttpTaskFinished; }

    mutable std::mutex m_mutex;
    std::vector<Entry> m_entries;
    HANDLE m_final;
};
