// Records a later instance forwards, over arbitrary bytes at any alignment and in floods: the queue stays within
// its bounds and its byte count returns to zero once emptied, no line outgrows its record or holds a NUL, and
// each line taken out parses. Each step takes one byte: its low two bits say what to do, the rest
// how large a record is or how often the last one is sent again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/CommandParser.h"
#include "app/shell/ForwardedCommandQueue.h"

namespace {

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CForwardedCommandQueue queue;
    CCommandParser parser;
    const uint8_t* record = data;
    size_t recordBytes = 0;
    for (size_t at = 0; at < size;) {
        const uint8_t step = data[at++];
        const size_t amount = step >> 2;
        switch (step & 3) {
        case 0:
            record = data + at;
            recordBytes = std::min(amount * 17, size - at);
            at += recordBytes;
            queue.Push(record, recordBytes);
            break;
        case 1:
            for (size_t i = 0; i < amount; ++i) {
                queue.Push(record, recordBytes);
            }
            break;
        case 2:
            if (const auto line = queue.Pop()) {
                Check(line->find(L'\0') == std::wstring::npos && line->size() <= size / 2);
                parser.Parse(*line);
            }
            break;
        default:
            queue.DropNewest();
            break;
        }
        Check(queue.Count() <= CForwardedCommandQueue::kMaxLines && queue.Bytes() <= CForwardedCommandQueue::kMaxBytes);
    }
    while (queue.Pop()) {
    }
    Check(queue.Bytes() == 0);
    return 0;
}
