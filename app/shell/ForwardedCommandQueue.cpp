#include "app/shell/ForwardedCommandQueue.h"

#include "app/shell/ForwardedCommandLine.h"

#include <utility>

bool CForwardedCommandQueue::Push(const void* data, size_t bytes) {
    // The record's own size is checked before anything is copied; its text is never larger.
    if (m_lines.size() >= kMaxLines || bytes > kMaxBytes - m_bytes) {
        return false;
    }
    m_lines.push_back(ForwardedCommandLineText(data, bytes));
    m_bytes += BytesOf(m_lines.back());
    return true;
}

std::optional<std::wstring> CForwardedCommandQueue::Pop() {
    if (m_lines.empty()) {
        return std::nullopt;
    }
    std::wstring line = std::move(m_lines.front());
    m_lines.pop_front();
    m_bytes -= BytesOf(line);
    return line;
}

void CForwardedCommandQueue::DropNewest() {
    if (!m_lines.empty()) {
        m_bytes -= BytesOf(m_lines.back());
        m_lines.pop_back();
    }
}
