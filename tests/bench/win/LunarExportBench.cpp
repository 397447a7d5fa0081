// The exported interface as another program calls it: deskling.exe loaded with LoadLibrary, functions found by
// name, create + LCLunarDate + LCEightWord + release for every day of 1902-2099.
#include "app/base/ScopedHandle.h"
#include "bench/pure/LunarBenchSupport.h"
#include "calendar/LunarCalendarApi.h"
#include "unit/calendar/DesklingImage.h"

namespace {

volatile uint32_t g_exportSink;

} // namespace

DESKLING_BENCH(LunarExports) {
    CModule deskling(::LoadLibraryW(ShippedPath(L"deskling.exe").c_str()));
    auto proc = [&](const char* name) { return deskling ? ::GetProcAddress(deskling.Get(), name) : nullptr; };
    const auto create = ProcAs<LCCreateLunarCalendarWithTimeFn>(proc("LCCreateLunarCalendarWithTime"));
    const auto lunarDate = ProcAs<LCTextFn>(proc("LCLunarDate"));
    const auto eightWord = ProcAs<LCTextFn>(proc("LCEightWord"));
    const auto release = ProcAs<LCReleaseLunarCalendarFn>(proc("LCReleaseLunarCalendar"));
    if (!create || !lunarDate || !eightWord || !release) {
        BenchNote("LunarExports", "deskling.exe or its exports not found beside the tests (..\\bin)");
        return;
    }
    uint32_t sink = 0;
    const double ns = BestNsPerDay(5, [&](PackedDate day) {
        struct tm time = {};
        time.tm_year = PackedYear(day) - 1900;
        time.tm_mon = PackedMonth(day);
        time.tm_mday = PackedDay(day);
        time.tm_hour = PackedHour(day);
        LunarCalendar* calendar = create(time);
        sink ^= static_cast<uint8_t>(lunarDate(calendar)[0]) ^ static_cast<uint8_t>(eightWord(calendar)[0]);
        release(calendar);
    });
    g_exportSink = sink;
    ReportAgainstReference("LunarExports", "LCCreateLunarCalendarWithTime + LCLunarDate + LCEightWord + release", ns,
                           &LunarReferenceFigures::textsNsPerDay);
}
