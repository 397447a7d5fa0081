#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/base/MessageFilter.h"

// A thread's message loop with pre-translation filters. Register it with
// CWindowModule::AddMessageLoop so windows created on the thread can add their filters.
class CMessageLoop {
public:
    void AddMessageFilter(CMessageFilter* filter) {
        if (filter && std::find(m_filters.begin(), m_filters.end(), filter) == m_filters.end()) {
            m_filters.push_back(filter);
        }
    }

    void RemoveMessageFilter(CMessageFilter* filter) { std::erase(m_filters, filter); }

    // The latest filter sees the message first. A filter may remove itself or others while this
    // runs (a window destroyed by its own filter), so the list is walked as it was at the start.
    BOOL PreTranslateMessage(MSG* msg) {
        std::vector<CMessageFilter*> filters = m_filters;
        for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
            if (std::find(m_filters.begin(), m_filters.end(), *it) != m_filters.end() &&
                (*it)->PreTranslateMessage(msg)) {
                return TRUE;
            }
        }
        return FALSE;
    }

    // Runs until WM_QUIT; the result is the quit code, or 0 when GetMessage fails.
    int Run() {
        MSG msg;
        BOOL got;
        while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0) {
            if (got == -1) {
                return 0;
            }
            if (!PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        return static_cast<int>(msg.wParam);
    }

private:
    std::vector<CMessageFilter*> m_filters;
};
