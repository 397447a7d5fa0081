// What later instances forward, from the records' bytes to the switches, over arbitrary bytes at any alignment and
// in floods: the queue stays within its bounds and its byte count returns to zero once emptied; no line taken out
// holds a NUL, each parses, and its elements after the program path, quoted back as a sender quotes them, split
// into themselves again. Each step takes one byte: its low two bits say what to do (0: send a record as large as the
// rest of the byte says, times 17; 1: send the last one again; 2: take a line out; 3: take back the newest).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/base/CommandLineText.h"
#include "app/CommandParser.h"
#include "app/shell/ForwardedCommandQueue.h"

namespace {

// Whether the elements of the line after the program path, each quoted for a command line, split back into
// themselves.
bool SplitsBack(const std::wstring& line) {
    const std::vector<std::wstring> elements = SplitCommandLine(line);
    std::wstring quoted = L"p";
    for (size_t i = 1; i < elements.size(); ++i) {
        quoted += L" " + QuoteCommandLineElement(elements[i]);
    }
    const std::vector<std::wstring> again = SplitCommandLine(quoted);
    return again.size() == elements.size() && std::equal(again.begin() + 1, again.end(), elements.begin() + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CForwardedCommandQueue queue;
    CCommandParser parser;
    const uint8_t* record = data;
    size_t recordBytes = 0;
    for (size_t at = 0; at < size;) {
        const uint8_t step = data[at++];
        if ((step & 3) == 0) {
            record = data + at;
            recordBytes = std::min<size_t>((step >> 2) * 17, size - at);
            at += recordBytes;
        }
        if ((step & 3) < 2) {
            queue.Push(record, recordBytes);
        } else if ((step & 3) == 3) {
            queue.DropNewest();
        } else if (const auto line = queue.Pop();
                   line && (line->find(L'\0') != std::wstring::npos || parser.Parse(*line) == line->empty() ||
                            !SplitsBack(*line))) {
            std::abort();
        }
        if (queue.Count() > CForwardedCommandQueue::kMaxLines || queue.Bytes() > CForwardedCommandQueue::kMaxBytes) {
            std::abort();
        }
    }
    while (queue.Pop()) {
    }
    if (queue.Bytes() != 0) {
        std::abort();
    }
    return 0;
}
