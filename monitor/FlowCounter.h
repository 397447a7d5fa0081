#pragma once

#include <cstdint>

// One direction of the network rate: the byte total of the counted adapters at each one-second sample turned
// into what the monitor window hears. A rate is reported when it changes and as "unchanged" (65535)
// otherwise, so a steady rate costs the window nothing; the very first sample has no rate yet.
class CFlowCounter {
public:
    // The report for a new total; totals wrap at 32 bits and the difference wraps with them.
    uint32_t Sample(uint32_t total);

private:
    uint32_t m_lastTotal = 0;
    uint32_t m_lastDelta = 0;
};
