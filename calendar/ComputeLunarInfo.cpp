#include "calendar/ComputeLunarInfo.h"

#include "app/base/CivilDate.h"
#include "calendar/LunarConstants.h"
#include "calendar/LunarYearTable.h"
#include "calendar/SolarTermDay.h"

namespace {

// One year's entry of LunarYearTable, decoded on demand.
struct LunarYear {
    uint32_t entry;

    int NewYearMonth() const { return static_cast<int>(entry & 0xFF) / 100; }
    int NewYearDay() const { return static_cast<int>(entry & 0xFF) % 100; }
    int LeapMonth() const { return static_cast<int>(entry >> 8 & 0xF); }
    int LeapLength() const { return 29 + static_cast<int>(entry >> 12 & 1); }
    int MonthLength(int month) const { return 29 + static_cast<int>(entry >> (28 - month) & 1); }
};

struct LunarDate {
    int month;
    int day;
    bool leap;
};

// `offset` days (>= 0) after the new year of `year`.
LunarDate WalkForward(LunarYear year, int offset) {
    int total = 0;
    for (int m = 1; m <= 12; ++m) {
        int length = year.MonthLength(m);
        if (offset - total < length) {
            return {m, offset - total + 1, false};
        }
        total += length;
        if (m == year.LeapMonth()) {
            length = year.LeapLength();
            if (offset - total < length) {
                return {m, offset - total + 1, true};
            }
            total += length;
        }
    }
    // Only reached with a table entry shorter than the distance to the next new year.
    return {12, offset - total + 1, false};
}

// `before` days (> 0) before the end of `year`, walking from the last month back: a leap month comes after
// regular month L + 1 and before regular month L in that order.
LunarDate WalkBackward(LunarYear year, int before) {
    int total = 0;
    for (int m = 12; m >= 1; --m) {
        if (m == year.LeapMonth()) {
            const int length = year.LeapLength();
            if (before - total <= length) {
                return {m, length - (before - total) + 1, true};
            }
            total += length;
        }
        const int length = year.MonthLength(m);
        if (before - total <= length) {
            return {m, length - (before - total) + 1, false};
        }
        total += length;
    }
    return {1, 1, false};
}

// Non-negative remainder for the few places where the dividend may be negative.
constexpr int Mod(int value, int divisor) {
    return (value % divisor + divisor) % divisor;
}

} // namespace

int ComputeLunarInfo(LunarInfo* record, PackedDate date) {
    date &= 0x0FFFFFFF;
    const int y = PackedYear(date);
    if (y < kFirstLunarYear || y > kLastLunarYear) {
        return -1;
    }
    const int m = PackedMonth(date);
    const int d = PackedDay(date);
    const int hour = PackedHour(date);
    const int today = DayNumber(y, m, d);

    // A date is placed from the new year of its own Gregorian year, so a table entry that does not add up to the
    // next new year cannot shift the dates around it.
    LunarYear year{LunarYearTable[y - 1900]};
    const int offset = today - DayNumber(y, year.NewYearMonth(), year.NewYearDay());
    LunarDate lunar;
    if (offset >= 0) {
        lunar = WalkForward(year, offset);
    } else {
        year = LunarYear{LunarYearTable[y - 1 - 1900]};
        lunar = WalkBackward(year, -offset);
    }
    const bool shortTwelfthMonth = year.MonthLength(12) == 29;

    // Year pillar and zodiac turn over at Start of Spring; the first month's stem follows the Gregorian year.
    int yearStem = (y - 4) % 10;
    int yearBranch = (y - 4) % 12;
    const int firstMonthStem = ((yearStem % 5) * 2 + 2) % 10;
    if (today < SolarTermDay(y, SolarTermMinutes[kStartOfSpringTerm])) {
        yearStem = (yearStem + 9) % 10;
        yearBranch = (yearBranch + 11) % 12;
    }

    // Month pillar: months begin at the first term of each Gregorian month; j counts from the first month (-1 and -2
    // are the two months before it, at the end of the previous year).
    int term = 2 * (m - 1);
    if (today < SolarTermDay(y, SolarTermMinutes[term])) {
        term -= 2;
    }
    const int j = term / 2 - 1;
    const int monthBranch = Mod(j + 2, 12);
    const int monthStem = Mod(firstMonthStem + j + 10, 10);

    int cy = y;
    int cm = m;
    if (m < 3) {
        cy = y - 1;
        cm = m + 12;
    }
    const int c = cy / 100;
    const int r = cy % 100;
    const int g = c / 4 + 4 * c + 5 * r + r / 4 + d + 3 * (cm + 1) / 5;
    const int dayStem = ((g - 3) % 10 + 9) % 10;
    const int dayBranch = ((g + 4 * c + 7 + (cm % 2 == 1 ? 0 : 6)) % 12 + 11) % 12;

    // 23:00 is already the first double-hour of the next day, but keeps this day's pillar.
    const int hourBranch = ((hour + 1) / 2) % 12;
    const int hourStem = (hourBranch + (dayStem % 5) * 2) % 10;

    uint32_t a = record->a & 0x00FFFC00u;
    a |= static_cast<uint32_t>(lunar.month) | static_cast<uint32_t>(lunar.day) << 4 |
         static_cast<uint32_t>(yearStem) << 24 | static_cast<uint32_t>(yearBranch) << 28;
    uint32_t b = record->b & LunarInfo::kFlagMask;
    b |= static_cast<uint32_t>(monthStem) | static_cast<uint32_t>(monthBranch) << 4 |
         static_cast<uint32_t>(dayStem) << 8 | static_cast<uint32_t>(dayBranch) << 12 |
         static_cast<uint32_t>(hourStem) << 16 | static_cast<uint32_t>(hourBranch) << 20 |
         static_cast<uint32_t>(yearBranch) << 24;
    if (lunar.leap) {
        b |= LunarInfo::kLeapFlag;
    }

    // Only the term expected in this half of the month is tested.
    const int candidate = 2 * (m - 1) + (d > 15 ? 1 : 0);
    if (DateFromDayNumber(SolarTermDay(y, SolarTermMinutes[candidate])) == CivilDate{y, m, d}) {
        a = (a & ~(0x3Fu << 10)) | static_cast<uint32_t>(candidate) << 10;
        b |= LunarInfo::kSolarTermFlag;
    }

    const uint32_t gregorianKey = static_cast<uint32_t>(m * 256 + d);
    for (int i = 0; i < kGregorianFestivalCount; ++i) {
        if (FestivalTable[i] == gregorianKey) {
            a = (a & ~(0xFu << 16)) | static_cast<uint32_t>(i) << 16;
            b |= LunarInfo::kGregorianFestivalFlag;
            break;
        }
    }
    // A leap month shares the festivals of the regular month of its number.
    const uint32_t lunarKey = static_cast<uint32_t>(0x1000 + lunar.month * 256 + lunar.day);
    int lunarFestival = -1;
    for (int i = kGregorianFestivalCount; i < 20; ++i) {
        if (FestivalTable[i] == lunarKey) {
            lunarFestival = i - kGregorianFestivalCount;
            break;
        }
    }
    if (lunar.month == 12 && lunar.day == 29 && shortTwelfthMonth) {
        lunarFestival = kNewYearsEveFestival;
    }
    if (lunarFestival >= 0) {
        a = (a & ~(0xFu << 20)) | static_cast<uint32_t>(lunarFestival) << 20;
        b |= LunarInfo::kLunarFestivalFlag;
    }

    record->a = a;
    record->b = b;
    return 0;
}
