#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

// Command lines that later instances forwarded, waiting for the main window to carry them out. The
// main window keeps them here and posts itself only a wake-up, so nothing in its message queue points
// into memory. Senders can send faster than the window carries lines out, so the queue is bounded by
// count and by bytes and refuses what would pass either bound.
class CForwardedCommandQueue {
public:
    static constexpr size_t kMaxLines = 64;
    // A command line has at most 32767 characters; this leaves room for many, and for one odd megabyte.
    static constexpr size_t kMaxBytes = 4 * 1024 * 1024;

    // Queues the text of a record's bytes (as ForwardedCommandLineText reads it); false, with nothing
    // queued, when the record's bytes or one more line would pass a bound.
    bool Push(const void* data, size_t bytes);
    // The oldest line; none when the queue is empty.
    std::optional<std::wstring> Pop();
    // Takes back the line queued last, whose wake-up could not be posted.
    void DropNewest();

    size_t Count() const { return m_lines.size(); }
    size_t Bytes() const { return m_bytes; }

private:
    // Counted as the sender counted them, in UTF-16 units, whatever wchar_t is here.
    static size_t BytesOf(const std::wstring& line) { return line.size() * sizeof(char16_t); }

    std::deque<std::wstring> m_lines;
    size_t m_bytes = 0;
};
