#include "net/HttpTaskDeletor.h"
#include "unit/net/DemoServiceSuite.h"
#include "unit/net/HttpRecorder.h"

#include <cJSON.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

// The sample data the widgets are shown with, fetched the way the widgets fetch it: through the task
// library, read with cJSON.

namespace {

using JsonPtr = std::unique_ptr<cJSON, decltype(&cJSON_Delete)>;

JsonPtr Parse(const std::string& text) {
    return JsonPtr(cJSON_Parse(text.c_str()), &cJSON_Delete);
}

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

// A date key "%d-%d-%d" as the calendar builds it, and the ISO date the weather days carry.
std::string DateKey(int y, int m, int d) {
    return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
}

std::string IsoDate(const SYSTEMTIME& t) {
    char text[16];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
    return text;
}

SYSTEMTIME DaysLater(SYSTEMTIME t, int days) {
    FILETIME file;
    ::SystemTimeToFileTime(&t, &file);
    ULARGE_INTEGER value;
    value.LowPart = file.dwLowDateTime;
    value.HighPart = file.dwHighDateTime;
    value.QuadPart += static_cast<ULONGLONG>(days) * 24 * 3600 * 10000000ULL;
    file.dwLowDateTime = value.LowPart;
    file.dwHighDateTime = value.HighPart;
    ::FileTimeToSystemTime(&file, &t);
    return t;
}

} // namespace

class DemoServiceDataTest : public CDemoServiceSuite {
protected:
    // The final report of a GET of path, the body kept in memory or, with saveFile, written there.
    static CHttpRecorder::Entry Fetch(const std::wstring& path, const std::wstring& saveFile = L"") {
        CHttpRecorder recorder;
        std::shared_ptr<IHttpTask> task(s_manager->CreateTask(), HttpTaskDeletor());
        if (!task) {
            return {};
        }
        task->SetCallback(&recorder);
        if (!saveFile.empty()) {
            task->SetSaveFile(saveFile.c_str());
        }
        task->Start(0, s_service->Url(path).c_str());
        recorder.WaitFinal(10000);
        return recorder.Final();
    }

    static JsonPtr FetchJson(const std::wstring& path) {
        const CHttpRecorder::Entry final = Fetch(path);
        EXPECT_EQ(final.state, kHttpTaskFinished) << "GET " << std::string(path.begin(), path.end());
        return Parse(final.body);
    }
};

TEST_F(DemoServiceDataTest, HolidayFileHoldsTheOfficialDaysAndEveryTermOfTheYear) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring saved = std::wstring(temp) + L"deskling-holiday-test.db";
    ASSERT_EQ(Fetch(L"/pc/other/holiday.db", saved).state, kHttpTaskFinished);
    std::ifstream in(std::filesystem::path(saved), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    ::DeleteFileW(saved.c_str());
    JsonPtr root = Parse(text);
    ASSERT_TRUE(root) << "holiday.db is not JSON";

    const std::vector<std::string> rest = Strings(cJSON_GetObjectItem(root.get(), "rest"));
    const std::vector<std::string> work = Strings(cJSON_GetObjectItem(root.get(), "work"));
    const std::set<std::string> restSet(rest.begin(), rest.end());
    const std::set<std::string> workSet(work.begin(), work.end());
    // Days named by the State Council's 2026 notice: New Year, Spring Festival eve to the ninth day,
    // National Day, and the Saturdays and Sundays worked instead.
    for (const std::string& day : {DateKey(2026, 1, 1), DateKey(2026, 2, 15), DateKey(2026, 2, 23),
                                   DateKey(2026, 6, 19), DateKey(2026, 10, 7)}) {
        EXPECT_TRUE(restSet.count(day)) << day;
    }
    for (const std::string& day : {DateKey(2026, 1, 4), DateKey(2026, 2, 14), DateKey(2026, 2, 28),
                                   DateKey(2026, 9, 20), DateKey(2026, 10, 10)}) {
        EXPECT_TRUE(workSet.count(day)) << day;
    }
    const std::regex key("[0-9]{4}-[1-9][0-9]?-[1-9][0-9]?");
    for (const std::string& day : rest) {
        EXPECT_TRUE(std::regex_match(day, key)) << day << " is not a calendar key";
        EXPECT_FALSE(workSet.count(day)) << day << " is both a day off and a working day";
    }

    const cJSON* terms = cJSON_GetObjectItem(root.get(), "solar_terms");
    EXPECT_EQ(Text(cJSON_GetObjectItem(terms, "year")), "2026");
    std::map<int, int> perMonth;
    std::set<std::string> names;
    const cJSON* term = nullptr;
    cJSON_ArrayForEach(term, cJSON_GetObjectItem(terms, "data")) {
        int y = 0, m = 0, d = 0;
        const std::string date = Text(cJSON_GetObjectItem(term, "date"));
        ASSERT_TRUE(std::regex_match(date, key)) << date;
        ASSERT_EQ(std::sscanf(date.c_str(), "%d-%d-%d", &y, &m, &d), 3);
        EXPECT_EQ(y, 2026);
        ++perMonth[m];
        names.insert(Text(cJSON_GetObjectItem(term, "name")));
    }
    EXPECT_EQ(names.size(), 24u);
    EXPECT_EQ(perMonth.size(), 12u) << "two terms fall in every month";
    for (const auto& [month, count] : perMonth) {
        EXPECT_EQ(count, 2) << "month " << month;
    }
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
        EXPECT_EQ(Text(cJSON_GetObjectItem(day, "date")), IsoDate(DaysLater(today, i))) << "day " << i;
        for (const char* part : {"day", "night"}) {
            const std::vector<std::string> values =
                Strings(cJSON_GetObjectItem(cJSON_GetObjectItem(day, "info"), part));
            ASSERT_EQ(values.size(), 5u) << "day " << i << " " << part;
            EXPECT_TRUE(std::regex_match(values[1], std::regex("-?[0-9]+"))) << values[1];
            EXPECT_FALSE(values[2].empty());
        }
    }

    const cJSON* realtime = cJSON_GetObjectItem(root.get(), "realtime");
    const int isoWeekday = today.wDayOfWeek == 0 ? 7 : today.wDayOfWeek;
    EXPECT_EQ(cJSON_GetObjectItem(realtime, "week")->valueint, isoWeekday);
    EXPECT_EQ(Text(cJSON_GetObjectItem(realtime, "date")), IsoDate(today));
    EXPECT_FALSE(Text(cJSON_GetObjectItem(cJSON_GetObjectItem(realtime, "weather"), "temperature")).empty());
    EXPECT_FALSE(Text(cJSON_GetObjectItem(cJSON_GetObjectItem(realtime, "wind"), "direct")).empty());
    const cJSON* pm25 = cJSON_GetArrayItem(cJSON_GetObjectItem(cJSON_GetObjectItem(root.get(), "pm25"), "pm25"), 0);
    ASSERT_TRUE(cJSON_IsNumber(pm25));
    EXPECT_GE(pm25->valueint, 0);

    EXPECT_EQ(Fetch(L"/sed_api_weather_info.php?app=bko&fmt=json&code=000000").state, kHttpTaskFailed);
}

TEST_F(DemoServiceDataTest, LocatedWeatherNamesATownOfTheDirectory) {
    JsonPtr root = FetchJson(L"/sed_api_weather_info.php?app=bko&fmt=json");
    ASSERT_TRUE(root);
    const cJSON* area = cJSON_GetObjectItem(root.get(), "area");
    const std::string cityCode = Text(cJSON_GetArrayItem(cJSON_GetArrayItem(area, 1), 1));
    const std::vector<std::string> town = Strings(cJSON_GetArrayItem(area, 2));
    ASSERT_EQ(town.size(), 2u);

    JsonPtr towns = FetchJson(L"/sed_api_area_query.php?app=bko&fmt=json&grade=town&code=" +
                              std::wstring(cityCode.begin(), cityCode.end()));
    bool listed = false;
    const cJSON* pair = nullptr;
    cJSON_ArrayForEach(pair, towns.get()) {
        listed = listed || Strings(pair) == town;
    }
    EXPECT_TRUE(listed) << town[0] << " " << town[1] << " is not a town of city " << cityCode;
}

TEST_F(DemoServiceDataTest, DirectoryNestsCodesAndHasEachKindOfProvince) {
    JsonPtr provinces = FetchJson(L"/sed_api_area_query.php?app=bko&fmt=json&grade=province");
    std::set<std::string> names;
    const cJSON* pair = nullptr;
    cJSON_ArrayForEach(pair, provinces.get()) {
        names.insert(Text(cJSON_GetArrayItem(pair, 0)));
    }
    EXPECT_TRUE(names.count("\xE5\x8C\x97\xE4\xBA\xAC\xE5\xB8\x82")) << "no municipality"; // 北京市
    EXPECT_TRUE(names.count("\xE5\xB9\xBF\xE8\xA5\xBF\xE5\xA3\xAE\xE6\x97\x8F\xE8\x87\xAA\xE6\xB2\xBB\xE5\x8C\xBA"))
        << "no autonomous region";                                                     // 广西壮族自治区
    EXPECT_TRUE(names.count("\xE5\xB9\xBF\xE4\xB8\x9C\xE7\x9C\x81")) << "no province"; // 广东省

    // Every city of a province carries the province's code as its prefix, every town its city's.
    JsonPtr cities = FetchJson(L"/sed_api_area_query.php?app=bko&fmt=json&grade=city&code=45");
    ASSERT_GT(cJSON_GetArraySize(cities.get()), 1);
    cJSON_ArrayForEach(pair, cities.get()) {
        EXPECT_EQ(Text(cJSON_GetArrayItem(pair, 1)).rfind("45", 0), 0u) << Text(cJSON_GetArrayItem(pair, 0));
    }
    const std::string city = Text(cJSON_GetArrayItem(cJSON_GetArrayItem(cities.get(), 0), 1));
    JsonPtr towns = FetchJson(L"/sed_api_area_query.php?app=bko&fmt=json&grade=town&code=" +
                              std::wstring(city.begin(), city.end()));
    ASSERT_GT(cJSON_GetArraySize(towns.get()), 1);
    cJSON_ArrayForEach(pair, towns.get()) {
        EXPECT_EQ(Text(cJSON_GetArrayItem(pair, 1)).rfind(city, 0), 0u) << Text(cJSON_GetArrayItem(pair, 0));
    }
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
        EXPECT_FALSE(Text(cJSON_GetObjectItem(item, "url")).empty());
        const std::string src = Text(cJSON_GetObjectItem(item, "src"));
        ASSERT_EQ(src.rfind(prefix, 0), 0u) << src;
        const CHttpRecorder::Entry picture = Fetch(std::wstring(src.begin() + prefix.size(), src.end()));
        ASSERT_EQ(picture.state, kHttpTaskFinished) << src;
        EXPECT_EQ(picture.body.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << src;
    }
}
