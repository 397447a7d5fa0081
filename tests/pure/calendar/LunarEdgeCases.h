#pragma once

// Dates whose texts are known from the Chinese calendar, shared by the engine's tests and the tests of the
// exported interface. Texts are UTF-8; null means the text is not checked for that date.
struct LunarEdgeCase {
    int year;
    int month;
    int day;
    int hour;
    const char* lunarDate;
    const char* eightWord;
    const char* zodiac;
    const char* solarTerm;
    const char* festival;
};

inline constexpr LunarEdgeCase kLunarEdgeCases[] = {
    // Lunar new year 2024.
    {2024, 2, 10, 0, "正月初一", "甲辰年丙寅月甲辰日甲子时", "龙", "", "春节"},
    // New Year's Eve from the table entry 12-30, and from a twelfth month of 29 days.
    {2024, 2, 9, 0, "腊月三十", "甲辰年丙寅月癸卯日壬子时", "龙", "", "除夕"},
    {2025, 1, 28, 0, "腊月廿九", nullptr, "龙", nullptr, "除夕"},
    // The year pillar and the zodiac turn at Start of Spring, not at the lunar new year.
    {2024, 2, 3, 0, "腊月廿四", "癸卯年乙丑月丁酉日庚子时", "兔", "", ""},
    {2024, 2, 4, 0, "腊月廿五", "甲辰年丙寅月戊戌日壬子时", "龙", "立春", ""},
    // The month pillar turns at Minor Cold.
    {2024, 1, 5, 0, nullptr, "癸卯年甲子月戊辰日壬子时", "兔", "", ""},
    {2024, 1, 6, 0, nullptr, "癸卯年乙丑月己巳日甲子时", "兔", "小寒", ""},
    // 23:00 is the zi hour but keeps its own day.
    {2024, 1, 20, 23, "腊月初十", "癸卯年乙丑月癸未日壬子时", "兔", nullptr, ""},
    // Leap months, forward and backward from the new year.
    {2023, 3, 22, 0, "闰二月初一", nullptr, "兔", nullptr, ""},
    {2012, 5, 21, 0, "闰四月初一", nullptr, "龙", "小满", ""},
    {2034, 1, 1, 0, "闰冬月十一", nullptr, "牛", nullptr, "元旦节"},
    // Festivals: both kinds on one day, lunar ones without the festival mark, the lunar Clear-and-Bright entry
    // that never matches.
    {2001, 10, 1, 0, nullptr, nullptr, "蛇", nullptr, "国庆节 中秋"},
    {2020, 10, 1, 0, nullptr, nullptr, "鼠", nullptr, "国庆节 中秋"},
    {2024, 6, 10, 0, "五月初五", nullptr, "龙", "", "端午"},
    {2024, 4, 4, 0, "二月廿六", nullptr, "龙", "清明", ""},
    // The ends of the accepted range.
    {1902, 1, 1, 0, "冬月廿二", nullptr, "牛", nullptr, "元旦节"},
    {2099, 12, 31, 0, "冬月二十", nullptr, "羊", nullptr, ""},
};
