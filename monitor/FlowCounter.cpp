#include "monitor/FlowCounter.h"

#include "monitor/MonitorGauge.h"

uint32_t CFlowCounter::Sample(uint32_t total) {
    const uint32_t delta = total - m_lastTotal;
    uint32_t report = kRateUnchanged;
    if (delta != m_lastDelta) {
        m_lastDelta = delta;
        if (m_lastTotal != 0) {
            report = delta;
        }
    }
    m_lastTotal = total;
    return report;
}
