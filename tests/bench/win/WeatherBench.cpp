// The weather widget's first frame with the local sample-data service's weather, from a copy of the runnable tree
// whose services name it: "/weather" reaching a running instance (which shows the calendar) to the first frame
// that carries the service's weather (the window logs it), beside a bare 389x338 layered window's first frame.
// Its idle cost beside the calendar is among the sets of IdleWidgetsBench.cpp.

#include "bench/win/BenchRig.h"

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace bench;

constexpr char kBench[] = "WeatherWidget";
constexpr int kLatencyRuns = 5;

} // namespace

DESKLING_BENCH(WeatherWidget) {
    CBenchRig rig(kBench);
    CServiceTree tree;
    if (!rig.Start()) {
        return;
    }
    if (!tree.Start()) {
        rig.Note("the sample-data service or the copy of the runnable tree did not come up");
        return;
    }
    const std::optional<std::vector<double>> latencies = MedianForwardedLatencies(
        rig, tree.Exe(), L"/weather", {"weather first frame with data"}, kLatencyRuns, SIZE{389, 338}, L"/calendar");
    if (latencies) {
        BenchFigure(kBench, "\"/weather\" arrived -> first frame with the service's data, median of 5", (*latencies)[0],
                    "ms");
        BenchFigure(kBench, "  bare layered window: creation -> first frame, median", (*latencies)[1], "ms");
    }
}
