#include <gtest/gtest.h>

#include "calendar/CalendarCellText.h"
#include "calendar/CalendarMonth.h"
#include "calendar/ComputeLunarInfo.h"

namespace {

LunarInfo Lunar(int year, int month, int day) {
    LunarInfo info{0, 0};
    EXPECT_EQ(ComputeLunarInfo(&info, MakePackedDate(year, month, day)), 0);
    return info;
}

std::wstring EngineText(int year, int month, int day, const SolarTermMap& terms = {}, const std::wstring& y = L"") {
    return CellSubText(Lunar(year, month, day), MakePackedDate(year, month, day), terms, y);
}

// A synthetic record: lunar month and day, plus the solar term when term >= 0.
LunarInfo Synthetic(int lunarMonth, int lunarDay, int term) {
    LunarInfo info{static_cast<uint32_t>(lunarMonth | lunarDay << 4), 0};
    if (term >= 0) {
        info.a |= static_cast<uint32_t>(term) << 10;
        info.b |= LunarInfo::kSolarTermFlag;
    }
    return info;
}

TEST(CalendarCellText, PriorityFromFestivalsDownToTheLunarDay) {
    // National Day and the Mid-Autumn festival fell on one day in 2020.
    const LunarInfo both = Lunar(2020, 10, 1);
    ASSERT_TRUE(both.IsGregorianFestival());
    ASSERT_TRUE(both.IsLunarFestival());
    EXPECT_EQ(EngineText(2020, 10, 1), L"国庆节");
    EXPECT_EQ(EngineText(2024, 9, 17), L"中秋");
    EXPECT_EQ(EngineText(2024, 2, 10), L"春节");
    EXPECT_EQ(EngineText(2024, 2, 4), L"立春");
    EXPECT_EQ(EngineText(2024, 5, 15), L"初八");
    EXPECT_EQ(EngineText(2024, 5, 8), L"四月");

    const PackedDate date = MakePackedDate(2030, 6, 1);
    EXPECT_EQ(CellSubText(Synthetic(5, 1, 10), date, {}, L""), L"芒种");
    EXPECT_EQ(CellSubText(Synthetic(5, 1, -1), date, {}, L""), L"五月");
    EXPECT_EQ(CellSubText(Synthetic(11, 1, -1), date, {}, L""), L"冬月");
    EXPECT_EQ(CellSubText(Synthetic(5, 30, -1), date, {}, L""), L"三十");
    EXPECT_EQ(CellSubText(LunarInfo{0, 0}, date, {}, L""), L"");
}

TEST(CalendarCellText, DecemberTwentySeventeenIsCorrected) {
    const CalendarMonth grid = BuildCalendarMonth(2017, 12, 1);
    int found = 0;
    for (size_t i = 0; i < grid.days.size(); ++i) {
        const PackedDate date = grid.days[i].date;
        if (PackedMonth(date) == 12 && (PackedDay(date) == 21 || PackedDay(date) == 22)) {
            EXPECT_EQ(DisplayedSubText(grid.lunar[i], date, {}, L""), PackedDay(date) == 21 ? L"初四" : L"冬至");
            ++found;
        }
    }
    EXPECT_EQ(found, 2);
    // The correction is for that month only.
    const PackedDate other = MakePackedDate(2018, 12, 21);
    EXPECT_EQ(DisplayedSubText(Lunar(2018, 12, 21), other, {}, L""), CellSubText(Lunar(2018, 12, 21), other, {}, L""));
}

TEST(CalendarCellText, HolidayFileTermsWinOnlyInTheirOwnYear) {
    const SolarTermMap terms{{L"2024-2-5", L"立春日"}, {L"2025-2-3", L"立春日"}};
    // In its year the file decides: its name on its date, and no engine term on other dates.
    EXPECT_EQ(EngineText(2024, 2, 5, terms, L"2024"), L"立春日");
    EXPECT_EQ(EngineText(2024, 2, 4, terms, L"2024"), L"廿五");
    // Another year, or no year at all: the engine's terms.
    EXPECT_EQ(EngineText(2025, 2, 3, terms, L"2024"), L"立春");
    EXPECT_EQ(EngineText(2024, 2, 4, terms, L""), L"立春");
    EXPECT_NE(EngineText(2024, 2, 5, terms, L""), L"立春日");
    // Festivals still outrank a file term.
    EXPECT_EQ(EngineText(2024, 10, 1, {{L"2024-10-1", L"X"}}, L"2024"), L"国庆节");
}

TEST(CalendarCellText, WorkBadgeBeatsRest) {
    const HolidayDaySet rest{{L"2024-5-1", 1}, {L"2024-5-11", 1}};
    const HolidayDaySet work{{L"2024-5-11", 1}, {L"2024-4-28", 1}};
    EXPECT_EQ(CellBadgeFor(MakePackedDate(2024, 5, 1), rest, work), CellBadge::Rest);
    EXPECT_EQ(CellBadgeFor(MakePackedDate(2024, 5, 11), rest, work), CellBadge::Work);
    EXPECT_EQ(CellBadgeFor(MakePackedDate(2024, 4, 28), rest, work), CellBadge::Work);
    EXPECT_EQ(CellBadgeFor(MakePackedDate(2024, 5, 2), rest, work), CellBadge::None);
    // Keys carry no leading zeros.
    EXPECT_EQ(CellBadgeFor(MakePackedDate(2024, 5, 1), {{L"2024-05-01", 1}}, {}), CellBadge::None);
}

TEST(CalendarCellText, TablesAreIndexedAsTheWindowUsesThem) {
    EXPECT_STREQ(WeekdayHeaderText(0), L"一");
    EXPECT_STREQ(WeekdayHeaderText(6), L"七");
    EXPECT_STREQ(EnglishMonthName(1), L"January");
    EXPECT_STREQ(EnglishMonthName(12), L"December");
    EXPECT_STREQ(EnglishMonthName(13), L"");
    EXPECT_STREQ(LunarDayName(20), L"二十");
    EXPECT_STREQ(LunarDayName(21), L"廿一");
    EXPECT_STREQ(SolarTermName(23), L"冬至");
    EXPECT_STREQ(SolarTermName(24), L"");
}

} // namespace
