#include "calendar/CalendarCellText.h"

#include <iterator>

namespace {

template <size_t N> const wchar_t* Pick(const wchar_t* const (&table)[N], int index) {
    return index >= 0 && static_cast<size_t>(index) < N ? table[index] : L"";
}

constexpr const wchar_t* kWeekdays[] = {L"一", L"二", L"三", L"四", L"五", L"六", L"七"};
constexpr const wchar_t* kMonths[] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                      L"July",    L"August",   L"September", L"October", L"November", L"December"};
constexpr const wchar_t* kLunarMonths[] = {L"正月", L"二月", L"三月", L"四月", L"五月", L"六月",
                                           L"七月", L"八月", L"九月", L"十月", L"冬月", L"腊月"};
constexpr const wchar_t* kLunarDays[] = {L"初一", L"初二", L"初三", L"初四", L"初五", L"初六", L"初七", L"初八",
                                         L"初九", L"初十", L"十一", L"十二", L"十三", L"十四", L"十五", L"十六",
                                         L"十七", L"十八", L"十九", L"二十", L"廿一", L"廿二", L"廿三", L"廿四",
                                         L"廿五", L"廿六", L"廿七", L"廿八", L"廿九", L"三十"};
constexpr const wchar_t* kGregorianFestivals[] = {L"元旦",   L"妇女节", L"植树节", L"劳动节", L"青年节",
                                                  L"儿童节", L"建党节", L"建军节", L"教师节", L"国庆节"};
constexpr const wchar_t* kSolarTerms[] = {L"小寒", L"大寒", L"立春", L"雨水", L"惊蛰", L"春分", L"清明", L"谷雨",
                                          L"立夏", L"小满", L"芒种", L"夏至", L"小暑", L"大暑", L"立秋", L"处暑",
                                          L"白露", L"秋分", L"寒露", L"霜降", L"立冬", L"小雪", L"大雪", L"冬至"};
constexpr const wchar_t* kLunarFestivals[] = {L"春节", L"元宵", L"清明", L"端午", L"七夕",
                                              L"中元", L"中秋", L"重阳", L"腊八", L"除夕"};

std::wstring KeyOf(PackedDate date) {
    return HolidayDateKey(PackedYear(date), PackedMonth(date), PackedDay(date));
}

} // namespace

const wchar_t* WeekdayHeaderText(int column) {
    return Pick(kWeekdays, column);
}
const wchar_t* EnglishMonthName(int month) {
    return Pick(kMonths, month - 1);
}
const wchar_t* LunarMonthName(int month) {
    return Pick(kLunarMonths, month - 1);
}
const wchar_t* LunarDayName(int day) {
    return Pick(kLunarDays, day - 1);
}
const wchar_t* GregorianFestivalName(int index) {
    return Pick(kGregorianFestivals, index);
}
const wchar_t* SolarTermName(int index) {
    return Pick(kSolarTerms, index);
}
const wchar_t* LunarFestivalName(int index) {
    return Pick(kLunarFestivals, index);
}

std::wstring CellSubText(const LunarInfo& lunar, PackedDate date, const SolarTermMap& terms,
                         const std::wstring& termYear) {
    std::wstring text;
    const int lunarDay = lunar.LunarDay();
    if (lunarDay >= 2 && lunarDay <= 30) {
        text = LunarDayName(lunarDay);
    } else if (lunarDay == 1 && lunar.LunarMonth() >= 1 && lunar.LunarMonth() <= 12) {
        text = LunarMonthName(lunar.LunarMonth());
    }
    if (!termYear.empty() && std::to_wstring(PackedYear(date)) == termYear) {
        auto found = terms.find(KeyOf(date));
        if (found != terms.end()) {
            text = found->second;
        }
    } else if (lunar.HasSolarTerm() && lunar.SolarTerm() < static_cast<int>(std::size(kSolarTerms))) {
        text = SolarTermName(lunar.SolarTerm());
    }
    if (lunar.IsLunarFestival() && lunar.LunarFestival() < static_cast<int>(std::size(kLunarFestivals))) {
        text = LunarFestivalName(lunar.LunarFestival());
    }
    if (lunar.IsGregorianFestival() && lunar.GregorianFestival() < static_cast<int>(std::size(kGregorianFestivals))) {
        text = GregorianFestivalName(lunar.GregorianFestival());
    }
    return text;
}

std::wstring DisplayedSubText(const LunarInfo& lunar, PackedDate date, const SolarTermMap& terms,
                              const std::wstring& termYear) {
    if (PackedYear(date) == 2017 && PackedMonth(date) == 12) {
        if (PackedDay(date) == 21) {
            return L"初四";
        }
        if (PackedDay(date) == 22) {
            return L"冬至";
        }
    }
    return CellSubText(lunar, date, terms, termYear);
}

CellBadge CellBadgeFor(PackedDate date, const HolidayDaySet& rest, const HolidayDaySet& work) {
    const std::wstring key = KeyOf(date);
    if (work.count(key)) {
        return CellBadge::Work;
    }
    return rest.count(key) ? CellBadge::Rest : CellBadge::None;
}
