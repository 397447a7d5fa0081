// The exported interface as another program calls it: deskling.exe loaded with LoadLibrary, functions found by
// name, create + LCLunarDate + LCEightWord + release for every day of 1902-2099.
#include <windows.h>

#include <string>

#include "app/ScopedHandle.h"
#include "bench/pure/LunarBenchSupport.h"
#include "calendar/LunarCalendarApi.h"

namespace {

template <class Fn> Fn ProcAs(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

volatile uint32_t g_exportSink;

} // namespace

DESKLING_BENCH(LunarExports) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.resize(path.find_last_of(L"\\/") + 1);
    CModule deskling(::LoadLibraryW((path + L"..\\bin\\deskling.exe").c_str()));
    const auto create = ProcAs<LCCreateLunarCalendarWithTimeFn>(deskling.Get(), "LCCreateLunarCalendarWithTime");
    const auto lunarDate = ProcAs<LCTextFn>(deskling.Get(), "LCLunarDate");
    const auto eightWord = ProcAs<LCTextFn>(deskling.Get(), "LCEightWord");
    const auto release = ProcAs<LCReleaseLunarCalendarFn>(deskling.Get(), "LCReleaseLunarCalendar");
    if (!deskling || !create || !lunarDate || !eightWord || !release) {
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
        sink ^= static_cast<uint8_t>(lunarDate(calendar)[0]);
        sink ^= static_cast<uint8_t>(eightWord(calendar)[0]);
        release(calendar);
    });
    g_exportSink = sink;
    ReportAgainstReference("LunarExports", "LCCreateLunarCalendarWithTime + LCLunarDate + LCEightWord + release", ns,
                           &LunarReferenceFigures::textsNsPerDay);
}
