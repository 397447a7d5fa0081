#include <gtest/gtest.h>

#include <cJSON.h>

#include <algorithm>

#include "app/IniSettings.h"
#include "app/TrustedFile.h"
#include "app/UIThreadWindow.h"
#include "net/HttpService.h"
#include "unit/app/ScratchFolder.h"
#include "unit/calendar/PumpMessages.h"
#include "unit/net/DemoServiceSuite.h"
#include "weather/AreaEvents.h"
#include "weather/ProvinceList.h"
#include "weather/WeatherDataModel.h"
#include "weather/WeatherParse.h"

namespace {

const std::string kArea = "/sed_api_area_query.php?app=bko&fmt=json&grade=";
const std::string kWeather = "/sed_api_weather_info.php?app=bko&fmt=json";

// The area directory and the weather model against the sample-data service, which logs the area and weather
// requests it gets. The test thread is the UI thread: it pumps while it waits, and it is the weather view.
class WeatherModelsTest : public CDemoServiceSuite, public sigslot::has_slots<>, public IWeatherView {
protected:
    void SetUp() override {
        ASSERT_TRUE(s_service->IsRunning() && s_http->IsInitialised() && CUIThreadWindow::GetInstance()->Create());
        CAreaEvents::GetInstance()->ProvincesReady.connect(this, &WeatherModelsTest::OnProvinces);
        CAreaEvents::GetInstance()->CitiesReady.connect(this, &WeatherModelsTest::OnCities);
        CAreaEvents::GetInstance()->TownsReady.connect(this, &WeatherModelsTest::OnTowns);
        TakeLog();
    }
    void OnProvinces() { m_signals.push_back(L"provinces"); }
    void OnCities(const std::wstring& province) { m_signals.push_back(L"cities of " + province); }
    void OnTowns(const std::wstring& city) { m_signals.push_back(L"towns of " + city); }
    void SetWeatherData(const WeatherData& data) override { m_shown.push_back(data); }

    // The logged "host/path?query" since the last call, in arrival order; pumps until there are count.
    static std::vector<std::string> TakeLog(size_t count = 0) {
        std::vector<std::string> log;
        PumpUntil(
            [&] {
                const JsonTree tree = JsonParseWhole(s_service->Get(L"/control/weather-log"));
                const cJSON* entry = nullptr;
                cJSON_ArrayForEach(entry, tree.get()) {
                    log.push_back(JsonGetText(entry, "host", "") + JsonGetText(entry, "path", ""));
                }
                return log.size() >= count;
            },
            5000);
        return log;
    }
    // What the service answers the models, fetched past the log.
    static std::string Served(const std::string& query) {
        const std::string body = s_service->Get(std::wstring(query.begin(), query.end()));
        TakeLog();
        return body;
    }
    static AreaEntryList ServedList(AreaLevel level, const std::string& query) {
        AreaEntryList list;
        EXPECT_TRUE(ParseAreaList({kHttpTaskFinished, 200, Served(query)}, level, list)) << query;
        return list;
    }
    template <class T> static AreaEntryList Entries(const std::vector<AreaRef<T>>& places) {
        AreaEntryList entries;
        for (const auto& place : places) {
            entries.push_back({place->GetName(), place->GetCode()});
        }
        return entries;
    }
    // The service's codes are digits.
    static std::string Ascii(const std::wstring& text) { return std::string(text.begin(), text.end()); }
    static std::string Host() { return "127.0.0.1:" + std::to_string(s_service->Port()); }

    std::vector<std::wstring> m_signals;
    std::vector<WeatherData> m_shown;
    CProvinceList m_list{s_http.get(), s_service->Url(L"")};
    CScratchFolder m_folder{L"weather-model"};
    CIniSettings m_settings{m_folder / L"deskling.ini", HKEY_CURRENT_USER, L"Software\\DesklingWeatherTest"};
    // The origin host is reached by another name, so the log tells the two hosts apart.
    CWeatherDataModel m_model{this, &m_settings, s_http.get(),
                              L"http://localhost:" + std::to_wstring(s_service->Port()), s_service->Url(L"")};
};

// The province list, and a province's cities each with its town request before any town is asked for.
TEST_F(WeatherModelsTest, TwoAsksBeforeTheAnswerMakeTwoRequestsAndOneFillAndCitiesComeWithTheirTowns) {
    EXPECT_TRUE(m_list.GetProvinces().empty());
    EXPECT_TRUE(m_list.GetProvinces().empty());
    EXPECT_EQ(TakeLog(2), std::vector<std::string>(2, Host() + kArea + "province"));
    PumpUntil([] { return false; }, 500);
    EXPECT_EQ(m_signals, std::vector<std::wstring>{L"provinces"});
    const auto provinces = m_list.GetProvinces();
    EXPECT_EQ(Entries(provinces), ServedList(AreaLevel::Province, kArea + "province"));
    const auto province = std::find_if(provinces.begin(), provinces.end(), [](const auto& p) {
        return ServedList(AreaLevel::City, kArea + "city&code=" + Ascii(p->GetCode())).size() > 2;
    });
    ASSERT_NE(province, provinces.end());
    const std::wstring name = (*province)->GetName();
    const AreaEntryList cities = ServedList(AreaLevel::City, kArea + "city&code=" + Ascii((*province)->GetCode()));
    const AreaEntryList towns = ServedList(AreaLevel::Town, kArea + "town&code=" + Ascii(cities[1].code));
    // A town lookup does not ask for the province's cities.
    EXPECT_TRUE(m_list.GetTowns(name, cities[1].name).empty() && m_list.GetCities(L"nowhere").empty());

    EXPECT_TRUE(m_list.GetCities(name).empty());
    ASSERT_TRUE(PumpUntil([&] { return m_signals.size() == 2 + cities.size(); }, 10000));
    EXPECT_EQ(m_signals[1], L"cities of " + name);
    std::vector<std::string> expected{Host() + kArea + "city&code=" + Ascii((*province)->GetCode())};
    for (const AreaEntry& city : cities) {
        expected.push_back(Host() + kArea + "town&code=" + Ascii(city.code));
    }
    auto log = TakeLog(expected.size());
    std::sort(log.begin() + std::min<size_t>(1, log.size()), log.end());
    std::sort(expected.begin() + 1, expected.end());
    EXPECT_EQ(log, expected);
    EXPECT_EQ(Entries(m_list.GetCities(name)), cities);
    EXPECT_EQ(m_list.GetTowns(name, cities[1].name), towns);
    EXPECT_TRUE(TakeLog().empty());
}

// A code goes into the address as it is, which lets a test ask the service for a fault.
TEST_F(WeatherModelsTest, AnEmptyAreaAnswerIsAnnouncedAndAnErrorAnswerIsNot) {
    for (const wchar_t* code : {L"none", L"x&fault=500", L"x&fault=trailing", L"x&fault=reset"}) {
        SCOPED_TRACE(code);
        m_signals.clear();
        CProvince province(L"甲", code, s_http.get(), s_service->Url(L""));
        CCity city(L"乙", code, s_http.get(), s_service->Url(L""));
        province.GetCities();
        city.GetTowns();
        TakeLog(2);
        PumpUntil([] { return false; }, 500);
        std::sort(m_signals.begin(), m_signals.end());
        EXPECT_EQ(m_signals, (code == std::wstring(L"none") ? std::vector<std::wstring>{L"cities of 甲", L"towns of 乙"}
                                                            : std::vector<std::wstring>{}));
        EXPECT_TRUE(province.GetCities().empty() && city.GetTowns().empty());
        EXPECT_EQ(TakeLog(2).size(), 2u) << "asked again";
    }
}

TEST_F(WeatherModelsTest, TheLocatedTownBecomesTheConfiguredOneThatTheNextRefreshAsksTheCdnFor) {
    WeatherAnswer located;
    ASSERT_TRUE(ParseWeatherAnswer({kHttpTaskFinished, 200, Served(kWeather)}, located) && located.townCode);
    m_model.RequestWeather();
    ASSERT_TRUE(PumpUntil([&] { return m_shown.size() == 1; }, 5000));
    EXPECT_EQ(m_shown[0].townName, located.data.townName);
    EXPECT_EQ(m_shown[0].days, located.data.days);
    EXPECT_EQ(m_settings.GetWeatherCityCode(), *located.townCode);

    m_model.RequestWeather();
    ASSERT_TRUE(PumpUntil([&] { return m_shown.size() == 2; }, 5000));
    EXPECT_EQ(TakeLog(2), (std::vector<std::string>{"localhost:" + std::to_string(s_service->Port()) + kWeather,
                                                    Host() + kWeather + "&code=" + Ascii(*located.townCode)}));
    EXPECT_EQ(m_model.GetWeatherData(), m_shown[1]);
}

} // namespace
