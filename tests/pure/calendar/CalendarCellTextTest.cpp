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

std::wstring SubText(int year, int month, int day, const SolarTermMap& terms = {}, const std::wstring& y = L"") {
    return CellSubText(Lunar(year, month, day), MakePackedDate(year, month, day), terms, y);
}

TEST(CalendarCellText, PriorityFromFestivalsDownToTheLunarDay) {
    // 1 October 2020 is both National Day and the Mid-Autumn festival: the Gregorian one wins.
    EXPECT_EQ(SubText(2020, 10, 1), L"国庆节");
    EXPECT_EQ(SubText(2024, 9, 17), L"中秋");
    EXPECT_EQ(SubText(2024, 2, 4), L"立春");
    EXPECT_EQ(SubText(2024, 5, 15), L"初八");
    EXPECT_EQ(SubText(2024, 5, 8), L"四月");
    EXPECT_EQ(SubText(2024, 12, 1), L"冬月");
    // A lunar first day that is a solar term shows the term: record of the fifth month's first day on Grain in Ear.
    LunarInfo termOnFirst{1u << 4 | 5u | 10u << 10, LunarInfo::kSolarTermFlag};
    EXPECT_EQ(CellSubText(termOnFirst, MakePackedDate(2030, 6, 1), {}, L""), L"芒种");
    EXPECT_EQ(CellSubText(LunarInfo{0, 0}, MakePackedDate(2100, 6, 1), {}, L""), L"");
}

TEST(CalendarCellText, DecemberTwentySeventeenIsCorrectedInTheGrid) {
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
    const PackedDate other = MakePackedDate(2018, 12, 21);
    EXPECT_EQ(DisplayedSubText(Lunar(2018, 12, 21), other, {}, L""), CellSubText(Lunar(2018, 12, 21), other, {}, L""));
}

TEST(CalendarCellText, HolidayFileTermsWinOnlyInTheirOwnYear) {
    const SolarTermMap terms{{L"2024-2-5", L"立春日"}, {L"2025-2-3", L"立春日"}};
    EXPECT_EQ(SubText(2024, 2, 5, terms, L"2024"), L"立春日");
    EXPECT_EQ(SubText(2024, 2, 4, terms, L"2024"), L"廿五") << "no engine term in the file's year";
    EXPECT_EQ(SubText(2025, 2, 3, terms, L"2024"), L"立春");
    EXPECT_EQ(SubText(2024, 2, 4, terms, L""), L"立春") << "a file without a year";
    EXPECT_EQ(SubText(2024, 10, 1, {{L"2024-10-1", L"X"}}, L"2024"), L"国庆节");
}

TEST(CalendarCellText, WorkBadgeBeatsRest) {
    const HolidayDaySet rest{{L"2024-5-1", 1}, {L"2024-5-11", 1}};
    const HolidayDaySet work{{L"2024-5-11", 1}};
    EXPECT_EQ(CellBadgeFor(MakePackedDate(2024, 5, 1), rest, work), CellBadge::Rest);
    EXPECT_EQ(CellBadgeFor(MakePackedDate(2024, 5, 11), rest, work), CellBadge::Work);
    EXPECT_EQ(CellBadgeFor(MakePackedDate(2024, 5, 2), rest, work), CellBadge::None);
    EXPECT_EQ(CellBadgeFor(MakePackedDate(2024, 5, 1), {{L"2024-05-01", 1}}, {}), CellBadge::None)
        << "keys carry no leading zeros";
}

} // namespace
