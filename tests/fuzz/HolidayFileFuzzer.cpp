// The holiday file reader over arbitrary bytes, applied twice so that the merge of solar terms into
// data already held is reached too. A body the reader refuses must leave the data exactly as it was, and
// a body the download check accepts must be one the reader takes.
#include "calendar/HolidayData.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool Same(const HolidayData& a, const HolidayData& b) {
    return a.rest == b.rest && a.work == b.work && a.solarTerms == b.solarTerms && a.solarTermYear == b.solarTermYear;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    const bool complete = IsCompleteHolidayFile(body);
    HolidayData held;
    held.rest[HolidayDateKey(2026, 1, 1)] = 1;
    held.solarTerms[HolidayDateKey(2026, 1, 5)] = L"\x5C0F\x5BD2";
    for (int pass = 0; pass < 2; ++pass) {
        const HolidayData before = held;
        const bool applied = ApplyHolidayFile(body, held);
        if ((!applied && !Same(before, held)) || (complete && !applied)) {
            std::abort();
        }
    }
    return 0;
}
