#include "monitor/FlowCounter.h"

#include <gtest/gtest.h>

#include "monitor/MonitorGauge.h"

// A rate is reported when it changes and as unchanged while it holds; the first sample has none, and a
// counter that wraps still gives the bytes of the last second.
TEST(FlowCounterTest, ReportsOnlyChanges) {
    const struct {
        uint32_t total;
        uint32_t report;
    } samples[] = {
        {5000, kRateUnchanged},
        {6000, 1000},
        {7000, kRateUnchanged},
        {8000, kRateUnchanged},
        {8500, 500},
        {8500, 0},
        {8500, kRateUnchanged},
        {0xFFFFFF00u, 0xFFFFFF00u - 8500},
        {0x100, 0x200},
        {0x300, kRateUnchanged},
    };
    CFlowCounter counter;
    for (const auto& sample : samples) {
        EXPECT_EQ(counter.Sample(sample.total), sample.report) << sample.total;
    }
}
