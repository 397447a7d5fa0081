#include <gtest/gtest.h>

#include "weather/WeatherText.h"

namespace {

ForecastDay Day(const wchar_t* date, const wchar_t* high, const wchar_t* description, const wchar_t* low) {
    ForecastDay day{date, {{L"day", {L"0", high, description, L"", L""}}}};
    if (*low) {
        day.parts[L"night"] = {L"1", low, L"阴", L"", L""};
    }
    return day;
}

TEST(WeatherText, PlacementFollowsTheTemperatureWidth) {
    const std::pair<const wchar_t*, int> cases[] = {{L"5", 94}, {L"25", 133}, {L"-10", 152}, {L"", -1}, {L"-100", -1}};
    for (const auto& [temperature, degreeLeft] : cases) {
        const std::optional<CurrentPlacement> placement = CurrentPlacementFor(temperature);
        EXPECT_EQ(placement ? placement->degree.left : -1, degreeLeft) << temperature;
        // The lines start just left of the degree sign, which sits inside the digits' box.
        EXPECT_TRUE(!placement ||
                    (placement->description.left == degreeLeft - 2 && placement->airQuality.left == degreeLeft - 2 &&
                     placement->temperature.right > placement->degree.right));
    }
}

TEST(WeatherText, IconsByTheFirstKeywordInTableOrder) {
    const std::pair<const wchar_t*, WeatherIcons> cases[] = {{L"晴转多云", {1060, 1065}}, {L"多云转晴", {1060, 1065}},
                                                             {L"阴转小雨", {1063, 1068}}, {L"雨夹雪", {1063, 1068}},
                                                             {L"阴", {1062, 1067}},       {L"小雪", {1064, 1069}},
                                                             {L"雾", {1061, 1066}},       {L"", {1061, 1066}}};
    for (const auto& [description, icons] : cases) {
        EXPECT_EQ(WeatherIconsFor(description), icons) << description;
    }
}

TEST(WeatherText, CurrentLines) {
    WeatherData data;
    data.realtime.info = L"晴";
    data.realtime.airLabel = L"空气良好";
    data.realtime.pm25 = 0;
    EXPECT_EQ(DescriptionLine(data) + AirQualityLine(data.realtime), L"晴空气良好 0");
    data.days = {Day(L"2026-12-06", L"5", L"多云", L"")};
    EXPECT_EQ(DescriptionLine(data), L"晴") << "no night temperature";
    data.days = {Day(L"2026-12-06", L"5", L"多云", L"-4")};
    data.realtime.airLabel = L"暂无空气质量数据";
    data.realtime.pm25 = -1;
    EXPECT_EQ(DescriptionLine(data) + AirQualityLine(data.realtime), L"晴 5°~-4°暂无空气质量数据");
}

TEST(WeatherText, ForecastRows) {
    WeatherData data;
    data.realtime.week = 7;
    data.days = {Day(L"2026-12-06", L"5", L"晴", L"-4")};
    EXPECT_TRUE(ForecastRows(data).empty()) << "one day leaves the rows alone";
    for (const wchar_t* date : {L"2026-12-07", L"2026-2-30", L"12-09", L"2026-12-10", L"2026-12-11"}) {
        data.days.push_back(Day(date, L"6", L"小雪", date[0] == L'1' ? L"" : L"-2"));
    }
    std::vector<ForecastRow> rows = ForecastRows(data);
    ASSERT_EQ(rows.size(), kForecastRowCount) << "the fifth later day has no row";
    EXPECT_EQ(rows[0].date + rows[1].date + L"|" + rows[2].date + L"|" + rows[3].date, L"12月7日2月30日||12月10日");
    EXPECT_EQ(rows[0].weekday + rows[1].weekday + rows[2].weekday + rows[3].weekday, L"周一周二周三周四");
    ASSERT_TRUE(rows[0].details && !rows[2].details) << "a day without its low keeps the row's last details";
    EXPECT_EQ(rows[0].details->temperatureRange + rows[0].details->description, L"6°~-2°小雪");
    EXPECT_EQ(rows[0].details->icon, 1069);
    // Without today's week number each row's weekday comes from its own date, when it is a real one.
    data.realtime.week = -1;
    rows = ForecastRows(data);
    EXPECT_EQ(rows[0].weekday + L"|" + rows[1].weekday + L"|" + rows[2].weekday + L"|" + rows[3].weekday,
              L"周一|||周四");
}

} // namespace
