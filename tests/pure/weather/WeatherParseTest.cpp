#include <gtest/gtest.h>

#include <string>

#include "weather/WeatherParse.h"

namespace {

bool Parse(const std::string& body, WeatherAnswer& out) {
    return ParseWeatherAnswer({kHttpTaskFinished, 200, body}, out);
}

WeatherAnswer Parsed(const std::string& body) {
    WeatherAnswer out;
    EXPECT_TRUE(Parse(body, out)) << body;
    return out;
}

// The service's shape with a day without info, a day that is no object and parts of odd lengths.
const std::string kLocated = R"({"area":[["北京","11"],["北京","1101"],["朝阳","110105"]],
    "weather":[{"date":"2026-12-06","info":{"day":["1","5","多云","北风","3-4级","x"],"night":["2","-4","阴"]}},
        {"date":"2026-12-07"},{"date":"2026-12-08","info":{"dawn":[7]}},3],
    "realtime":{"date":"2026-12-06","time":"09:30:00","week":7,"weather":{"temperature":"2","info":"晴",
        "humidity":"40"},"wind":{"direct":"北风","power":"微风"}},"pm25":{"pm25":[42],"level":1}})";

TEST(WeatherParse, ReadsTheServiceAnswer) {
    const WeatherAnswer answer = Parsed(kLocated);
    const WeatherData& data = answer.data;
    EXPECT_EQ(answer.townCode, L"110105") << "a located answer names the town to keep";
    EXPECT_EQ(data.townName + data.townCode + L"|" + data.provinceCode + L"|" + data.cityCode, L"朝阳110105|11|1101");
    ASSERT_EQ(data.days.size(), 2u);
    EXPECT_EQ(data.days[0].parts.at(L"day"), (DayPart{L"1", L"5", L"多云", L"北风", L"3-4级"}));
    EXPECT_EQ(data.days[0].parts.at(L"night"), (DayPart{L"2", L"-4", L"阴", L"", L""}));
    EXPECT_EQ(data.days[1].date + data.days[1].parts.at(L"dawn")[0], L"2026-12-08");
    const RealtimeWeather& now = data.realtime;
    EXPECT_EQ(now.date + now.time + now.temperature + now.info + now.humidity + now.windDirect + now.windPower +
                  std::to_wstring(now.week),
              L"2026-12-0609:30:002晴40北风微风7");
    EXPECT_EQ(Parsed(R"({"area":[["a","1"],["b","2"],[]]})").townCode, L"") << "an empty town pair still counts";
    EXPECT_FALSE(Parsed(R"({"area":[["a","1"],["b","2"],"c"]})").townCode);
}

TEST(WeatherParse, WeekAsNumberOrText) {
    const std::pair<const char*, int> cases[] = {{R"("week":3)", 3},   {R"("week":"3")", 3},   {R"("week":"x")", 0},
                                                 {R"("week":-1)", -1}, {R"("week":true)", -1}, {"", -1}};
    for (const auto& [member, week] : cases) {
        EXPECT_EQ(Parsed(std::string(R"({"realtime":{)") + member + "}}").data.realtime.week, week) << member;
    }
}

TEST(WeatherParse, AirQualityLabelsChangeAtEachBoundary) {
    const int boundaries[] = {0, 50, 100, 150, 200, 300, 500};
    const wchar_t* labels[] = {L"", L"空气清新", L"空气良好", L"轻度污染", L"中度污染", L"重度污染", L"严重污染", L""};
    for (size_t band = 0; band < std::size(boundaries); ++band) {
        for (const int value : {boundaries[band] - 1, boundaries[band]}) {
            const RealtimeWeather now = Parsed(R"({"pm25":{"pm25":[)" + std::to_string(value) + "]}}").data.realtime;
            EXPECT_EQ(now.pm25, value);
            EXPECT_EQ(now.airLabel, labels[value < boundaries[band] ? band : band + 1]) << value;
        }
    }
    EXPECT_EQ(Parsed(R"({"pm25":{"pm25":["80"]}})").data.realtime.pm25, 0) << "a value that is no number";
    const RealtimeWeather none = Parsed(R"({"realtime":{},"pm25":{"level":2}})").data.realtime;
    EXPECT_EQ(none.airLabel + std::to_wstring(none.pm25), L"暂无空气质量数据-1");
}

TEST(WeatherParse, ErrorAnswersChangeNothing) {
    WeatherAnswer held = Parsed(kLocated);
    const WeatherAnswer before = held;
    for (const char* body : {R"({"error":"unknown town"})", R"({"error":1,"weather":[]})", "{}", "[]", R"("text")",
                             R"({"area":{}})", R"({"weather":{}})", R"({"realtime":[]})", R"({"pm25":[42]})"}) {
        EXPECT_FALSE(Parse(body, held)) << body;
    }
    EXPECT_TRUE(held.data == before.data && held.townCode == before.townCode);
}

} // namespace
