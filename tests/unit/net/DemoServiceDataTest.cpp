#include "net/HttpTaskDeletor.h"
#include "unit/net/DemoServiceSuite.h"
#include "unit/net/HttpRecorder.h"

#include <cJSON.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The sample data the widgets are shown with, fetched the way the widgets fetch it: through the task
// library, read with cJSON.

namespace {

using JsonPtr = std::unique_ptr<cJSON, decltype(&cJSON_Delete)>;

std::string Text(const cJSON* node) {
    return cJSON_IsString(node) ? node->valuestring : "";
}

std::vector<std::string> Strings(const cJSON* array) {
    std::vector<std::string> out;
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, array) {
        out.push_back(Text(item));
    }
    return out;
}

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// The ISO date the weather days carry, days after t.
std::string IsoDate(const SYSTEMTIME& t, int days) {
    using namespace std::chrono;
    const year_month_day date{sys_days{year{t.wYear} / t.wMonth / t.wDay} + std::chrono::days{days}};
    char text[16];
    std::snprintf(text, sizeof(text), "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

} // namespace

class DemoServiceDataTest : public CDemoServiceSuite {
protected:
    static CHttpRecorder::Entry Fetch(const std::wstring& path) {
        CHttpRecorder recorder;
        std::shared_ptr<IHttpTask> task(s_manager->CreateTask(), HttpTaskDeletor());
        if (!task) {
            return {};
        }
        task->SetCallback(&recorder);
        task->Start(0, s_service->Url(path).c_str());
        recorder.WaitFinal(10000);
        return recorder.Final();
    }

    static JsonPtr FetchJson(const std::wstring& path) {
        const CHttpRecorder::Entry final = Fetch(path);
        EXPECT_EQ(final.state, kHttpTaskFinished) << "GET " << std::string(path.begin(), path.end());
        return JsonPtr(cJSON_Parse(final.body.c_str()), &cJSON_Delete);
    }
};

TEST_F(DemoServiceDataTest, HolidayFileHoldsTheOfficialDaysAndEveryTermOfTheYear) {
    JsonPtr root = FetchJson(L"/pc/other/holiday.db");
    ASSERT_TRUE(root) << "holiday.db is not JSON";
    const std::vector<std::string> rest = Strings(cJSON_GetObjectItem(root.get(), "rest"));
    const std::vector<std::string> work = Strings(cJSON_GetObjectItem(root.get(), "work"));
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

    // The solar terms of the year: 24 different ones, each dated in it.
    const cJSON* terms = cJSON_GetObjectItem(root.get(), "solar_terms");
    std::set<std::string> names;
    const cJSON* term = nullptr;
    cJSON_ArrayForEach(term, cJSON_GetObjectItem(terms, "data")) {
        EXPECT_EQ(Text(cJSON_GetObjectItem(term, "date")).rfind("2026-", 0), 0u);
        names.insert(Text(cJSON_GetObjectItem(term, "name")));
    }
    EXPECT_EQ(names.size(), 24u);
    EXPECT_TRUE(names.count("\xE5\x86\xAC\xE8\x87\xB3")) << "winter solstice missing"; // 冬至
}

TEST_F(DemoServiceDataTest, WeatherByTownCodeNamesTheTownAndForecastsFiveDaysFromToday) {
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    JsonPtr root = FetchJson(L"/sed_api_weather_info.php?app=bko&fmt=json&code=450103");
    ASSERT_TRUE(root);
    const cJSON* area = cJSON_GetObjectItem(root.get(), "area");
    ASSERT_EQ(cJSON_GetArraySize(area), 3);
    EXPECT_EQ(Text(cJSON_GetArrayItem(cJSON_GetArrayItem(area, 0), 1)), "45");
    EXPECT_EQ(Text(cJSON_GetArrayItem(cJSON_GetArrayItem(area, 1), 1)), "4501");
    EXPECT_EQ(Strings(cJSON_GetArrayItem(area, 2)),
              (std::vector<std::string>{"\xE9\x9D\x92\xE7\xA7\x80\xE5\x8C\xBA", "450103"})); // 青秀区

    const cJSON* days = cJSON_GetObjectItem(root.get(), "weather");
    ASSERT_EQ(cJSON_GetArraySize(days), 5);
    for (int i = 0; i < 5; ++i) {
        const cJSON* day = cJSON_GetArrayItem(days, i);
        EXPECT_EQ(Text(cJSON_GetObjectItem(day, "date")), IsoDate(today, i)) << "day " << i;
        for (const char* part : {"day", "night"}) {
            const auto values = Strings(cJSON_GetObjectItem(cJSON_GetObjectItem(day, "info"), part));
            ASSERT_EQ(values.size(), 5u) << "day " << i << " " << part;
            EXPECT_NE(values[1].find_first_of("0123456789"), std::string::npos) << "temperature " << values[1];
        }
    }
    const cJSON* realtime = cJSON_GetObjectItem(root.get(), "realtime");
    EXPECT_EQ(cJSON_GetObjectItem(realtime, "week")->valueint, today.wDayOfWeek == 0 ? 7 : today.wDayOfWeek);
    EXPECT_EQ(Fetch(L"/sed_api_weather_info.php?app=bko&fmt=json&code=000000").state, kHttpTaskFailed);
}

// Every city of a province carries the province's code as its prefix, every town its city's.
TEST_F(DemoServiceDataTest, DirectoryNestsCodesAndHasEachKindOfProvince) {
    JsonPtr provinces = FetchJson(L"/sed_api_area_query.php?app=bko&fmt=json&grade=province");
    std::set<std::string> names;
    const cJSON* pair = nullptr;
    cJSON_ArrayForEach(pair, provinces.get()) {
        names.insert(Text(cJSON_GetArrayItem(pair, 0)));
    }
    // 北京市, 广西壮族自治区, 广东省: a municipality, an autonomous region and a province.
    for (const char* name : {"\xE5\x8C\x97\xE4\xBA\xAC\xE5\xB8\x82",
                             "\xE5\xB9\xBF\xE8\xA5\xBF\xE5\xA3\xAE\xE6\x97\x8F\xE8\x87\xAA\xE6\xB2\xBB\xE5\x8C\xBA",
                             "\xE5\xB9\xBF\xE4\xB8\x9C\xE7\x9C\x81"}) {
        EXPECT_TRUE(names.count(name)) << name;
    }
    const auto expectNested = [](const JsonPtr& list, const std::string& prefix) {
        ASSERT_GT(cJSON_GetArraySize(list.get()), 1) << prefix;
        const cJSON* item = nullptr;
        cJSON_ArrayForEach(item, list.get()) {
            EXPECT_EQ(Text(cJSON_GetArrayItem(item, 1)).rfind(prefix, 0), 0u) << Text(cJSON_GetArrayItem(item, 0));
        }
    };
    JsonPtr cities = FetchJson(L"/sed_api_area_query.php?app=bko&fmt=json&grade=city&code=45");
    expectNested(cities, "45");
    const std::string city = Text(cJSON_GetArrayItem(cJSON_GetArrayItem(cities.get(), 0), 1));
    expectNested(FetchJson(L"/sed_api_area_query.php?app=bko&fmt=json&grade=town&code=" + Wide(city)), city);
}

TEST_F(DemoServiceDataTest, NewsHasThreeItemsWhosePicturesArePngs) {
    JsonPtr root = FetchJson(L"/super/news.php");
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
        const CHttpRecorder::Entry picture = Fetch(Wide(src.substr(prefix.size())));
        EXPECT_EQ(picture.body.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << src;
    }
}
