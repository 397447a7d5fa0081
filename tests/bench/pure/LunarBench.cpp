// ComputeLunarInfo and the handle path behind the exported interface, over every day of 1902-2099.
#include "bench/pure/LunarBenchSupport.h"

#include "calendar/ComputeLunarInfo.h"
#include "calendar/LunarCalendar.h"

namespace {

volatile uint32_t g_sink;

} // namespace

DESKLING_BENCH(LunarCompute) {
    uint32_t sink = 0;
    const double ns = BestNsPerDay(20, [&](PackedDate day) {
        LunarInfo info{};
        ComputeLunarInfo(&info, day);
        sink ^= info.a ^ info.b;
    });
    g_sink = sink;
    ReportAgainstReference("LunarCompute", "ComputeLunarInfo", ns, &LunarReferenceFigures::infoNsPerDay);
}

// Create, lunar date text, eight-characters text and release, with the C library's allocator: the work of the
// exported functions without the call through another module.
DESKLING_BENCH(LunarHandle) {
    using Ops = CLunarCalendarOps<CCrtLunarEnv>;
    uint32_t sink = 0;
    const double ns = BestNsPerDay(5, [&](PackedDate day) {
        LunarCalendar* calendar = Ops::Create(day);
        sink ^= static_cast<uint8_t>(calendar->lunarDate(calendar)[0]) ^
                static_cast<uint8_t>(calendar->eightWord(calendar)[0]);
        Ops::Release(calendar);
    });
    g_sink = sink;
    ReportAgainstReference("LunarHandle", "create + date + eight characters + release", ns,
                           &LunarReferenceFigures::textsNsPerDay);
}
