#include "unit/net/DemoService.h"

#include <cJSON.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The sample data the widgets are shown with, as the service hands it out.

namespace {

using JsonPtr = std::unique_ptr<cJSON, decltype(&cJSON_Delete)>;

std::string Text(const cJSON* node) {
    return cJSON_IsString(node) ? node->valuestring : "";
}

// The strings of an array, or the strings at index of each array in it.
std::vector<std::string> Strings(const cJSON* array, int index = -1) {
    std::vector<std::string> out;
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, array) {
        out.push_back(Text(index < 0 ? item : cJSON_GetArrayItem(item, index)));
    }
    return out;
}

} // namespace

class DemoServiceDataTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_service = new CDemoService(); }
    static void TearDownTestSuite() { delete s_service; }
    void SetUp() override { ASSERT_TRUE(s_service->IsRunning()); }

    static JsonPtr Fetch(const std::wstring& path) {
        return JsonPtr(cJSON_Parse(s_service->Get(path).c_str()), &cJSON_Delete);
    }

    static inline CDemoService* s_service = nullptr;
};

TEST_F(DemoServiceDataTest, HolidayFileHoldsTheOfficialDaysAndEveryTermOfTheYear) {
    JsonPtr root = Fetch(L"/pc/other/holiday.db");
    ASSERT_TRUE(root) << "holiday.db is not JSON";
    const auto rest = Strings(cJSON_GetObjectItem(root.get(), "rest"));
    const auto work = Strings(cJSON_GetObjectItem(root.get(), "work"));
    const std::set<std::string> restSet(rest.begin(), rest.end()), workSet(work.begin(), work.end());
    // Days named by the State Council's 2026 notice: New Year, Spring Festival eve to the ninth day,
    // Dragon Boat, National Day, and the Saturdays and Sundays worked instead; keys as the calendar
    // builds them ("%d-%d-%d").
    for (const char* day : {"2026-1-1", "2026-2-15", "2026-2-23", "2026-6-19", "2026-10-7"}) {
        EXPECT_TRUE(restSet.count(day)) << day;
    }
    for (const char* day : {"2026-1-4", "2026-2-14", "2026-2-28", "2026-9-20", "2026-10-10"}) {
        EXPECT_TRUE(workSet.count(day)) << day;
    }
    for (const std::string& day : rest) {
        EXPECT_FALSE(workSet.count(day)) << day << " is both a day off and a working day";
    }
    const cJSON* terms = cJSON_GetObjectItem(cJSON_GetObjectItem(root.get(), "solar_terms"), "data");
    std::set<std::string> termNames;
    const cJSON* term = nullptr;
    cJSON_ArrayForEach(term, terms) {
        EXPECT_EQ(Text(cJSON_GetObjectItem(term, "date")).rfind("2026-", 0), 0u);
        termNames.insert(Text(cJSON_GetObjectItem(term, "name")));
    }
    EXPECT_EQ(termNames.size(), 24u);
}

TEST_F(DemoServiceDataTest, WeatherByTownCodeNamesTheTownAndForecastsFiveDaysFromToday) {
    JsonPtr root = Fetch(L"/sed_api_weather_info.php?app=bko&fmt=json&code=450103");
    ASSERT_TRUE(root);
    const cJSON* area = cJSON_GetObjectItem(root.get(), "area");
    EXPECT_EQ(Strings(area, 1), (std::vector<std::string>{"45", "4501", "450103"}));
    EXPECT_EQ(Text(cJSON_GetArrayItem(cJSON_GetArrayItem(area, 2), 0)),
              "\xE9\x9D\x92\xE7\xA7\x80\xE5\x8C\xBA"); // 青秀区

    SYSTEMTIME now;
    ::GetLocalTime(&now);
    using namespace std::chrono;
    const sys_days today{year{now.wYear} / now.wMonth / now.wDay};
    const cJSON* days = cJSON_GetObjectItem(root.get(), "weather");
    ASSERT_EQ(cJSON_GetArraySize(days), 5);
    for (int i = 0; i < 5; ++i) {
        const year_month_day date{today + std::chrono::days{i}};
        char iso[16];
        std::snprintf(iso, sizeof(iso), "%04d-%02u-%02u", static_cast<int>(date.year()),
                      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
        const cJSON* day = cJSON_GetArrayItem(days, i);
        EXPECT_EQ(Text(cJSON_GetObjectItem(day, "date")), iso);
        for (const char* part : {"day", "night"}) {
            const auto values = Strings(cJSON_GetObjectItem(cJSON_GetObjectItem(day, "info"), part));
            ASSERT_EQ(values.size(), 5u) << iso << " " << part;
            EXPECT_NE(values[1].find_first_of("0123456789"), std::string::npos) << "temperature " << values[1];
        }
    }
    const int week = cJSON_GetObjectItem(cJSON_GetObjectItem(root.get(), "realtime"), "week")->valueint;
    EXPECT_EQ(week, now.wDayOfWeek == 0 ? 7 : now.wDayOfWeek);
}

// Every city of a province carries the province's code as its prefix, every town its city's.
TEST_F(DemoServiceDataTest, DirectoryNestsCodesAndHasEachKindOfProvince) {
    const auto provinces = Strings(Fetch(L"/sed_api_area_query.php?app=bko&fmt=json&grade=province").get(), 0);
    // 北京市, 广西壮族自治区, 广东省: a municipality, an autonomous region and a province.
    for (const char* name : {"\xE5\x8C\x97\xE4\xBA\xAC\xE5\xB8\x82",
                             "\xE5\xB9\xBF\xE8\xA5\xBF\xE5\xA3\xAE\xE6\x97\x8F\xE8\x87\xAA\xE6\xB2\xBB\xE5\x8C\xBA",
                             "\xE5\xB9\xBF\xE4\xB8\x9C\xE7\x9C\x81"}) {
        EXPECT_NE(std::find(provinces.begin(), provinces.end(), name), provinces.end()) << name;
    }
    std::string prefix = "45";
    for (const wchar_t* grade : {L"city", L"town"}) {
        const auto codes = Strings(Fetch(L"/sed_api_area_query.php?app=bko&fmt=json&grade=" + std::wstring(grade) +
                                         L"&code=" + std::wstring(prefix.begin(), prefix.end()))
                                       .get(),
                                   1);
        ASSERT_GT(codes.size(), 1u) << prefix;
        for (const std::string& code : codes) {
            EXPECT_EQ(code.rfind(prefix, 0), 0u) << code << " is not under " << prefix;
        }
        prefix = codes.front();
    }
}

TEST_F(DemoServiceDataTest, NewsHasThreeItemsWhosePicturesArePngs) {
    JsonPtr root = Fetch(L"/super/news.php");
    ASSERT_TRUE(root);
    EXPECT_EQ(cJSON_GetObjectItem(root.get(), "errno")->valueint, 0);
    const cJSON* data = cJSON_GetObjectItem(root.get(), "data");
    ASSERT_EQ(cJSON_GetArraySize(data), 3);
    const std::string prefix = "http://127.0.0.1:" + std::to_string(s_service->Port());
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, data) {
        EXPECT_FALSE(Text(cJSON_GetObjectItem(item, "title")).empty());
        const std::string src = Text(cJSON_GetObjectItem(item, "src"));
        ASSERT_EQ(src.rfind(prefix, 0), 0u) << src;
        const std::string path = src.substr(prefix.size());
        EXPECT_EQ(s_service->Get(std::wstring(path.begin(), path.end())).substr(0, 8),
                  std::string("\x89PNG\r\n\x1a\n", 8))
            << src;
    }
}
