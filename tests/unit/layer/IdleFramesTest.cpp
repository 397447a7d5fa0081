#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "app/base/DeskMessages.h"
#include "monitor/MonitorGauge.h"
#include "monitor/TempMonitorModel.h"
#include "monitor/TempMonitorWnd.h"
#include "news/NewsWnd.h"
#include "unit/calendar/PumpMessages.h"
#include "unit/WidgetTest.h"
#include "weather/WeatherWnd.h"

namespace {

using IdleFramesTest = CWidgetTest;

WeatherData Weather(const wchar_t* temperature) {
    WeatherData data;
    data.townName = L"深圳";
    data.days = {ForecastDay{L"2024-5-15", {}}};
    data.realtime.temperature = temperature;
    return data;
}

SensorReadings Readings(int32_t cpu) {
    const SensorReading reading{100, 1, cpu, CTempMonitorModel::GetInstance()->NameOfType(100), 80, 90, 100};
    return SensorReadings{{100, reading}};
}

const std::vector<NewsItem> kHeadlines = {{L"a", L"", L"一", L""}, {L"b", L"", L"二", L""}};

// Each widget shown with its data; what its timers and messages bring when nothing changed, and a change.
struct IdleCase {
    const char* name;
    std::function<CLayerWindowCore*()> open;
    std::function<void()> unchanged;
    std::function<void()> changed;
    std::function<void()> close;
};

const IdleCase kCases[] = {
    {"weather: the hourly answer repeated, then another temperature",
     [] {
         CWeatherWnd::GetInstance()->Show(true);
         CWeatherWnd::GetInstance()->SetWeatherData(Weather(L"25"));
         return CWeatherWnd::GetInstance();
     },
     [] { CWeatherWnd::GetInstance()->SetWeatherData(Weather(L"25")); },
     [] { CWeatherWnd::GetInstance()->SetWeatherData(Weather(L"26")); },
     [] { CWeatherWnd::GetInstance()->Show(false); }},
    {"news: the same headlines fetched again, then the carousel turning",
     [] {
         CNewsWnd::GetInstance()->Show(true);
         CNewsWnd::GetInstance()->SetNewsList(kHeadlines);
         return CNewsWnd::GetInstance();
     },
     [] { CNewsWnd::GetInstance()->SetNewsList(kHeadlines); },
     [] { CNewsWnd::GetInstance()->OnLayerTimer(CNewsWnd::kRotateTimer); },
     [] { CNewsWnd::GetInstance()->Show(false); }},
    {"monitor: the same readings and rates, then a new upload rate",
     [] {
         CTempMonitorWnd* wnd = CTempMonitorWnd::GetInstance();
         wnd->Show(true);
         wnd->SetPanel(CTempMonitorWnd::kPanelData);
         wnd->SetItems(100, kItemUpload);
         wnd->SetReadings(Readings(60));
         ::SendMessageW(wnd->m_hWnd, WM_NETWORK_RATES, 0, 0);
         return wnd;
     },
     [] {
         CTempMonitorWnd::GetInstance()->UpdateReadings(Readings(60));
         ::SendMessageW(CTempMonitorWnd::GetInstance()->m_hWnd, WM_NETWORK_RATES, 0, kRateUnchanged);
     },
     [] { ::SendMessageW(CTempMonitorWnd::GetInstance()->m_hWnd, WM_NETWORK_RATES, 5000, 2000); },
     [] { CTempMonitorWnd::GetInstance()->Show(false); }},
};

} // namespace

TEST_F(IdleFramesTest, ATickThatChangesNothingPushesNoFrameAndAChangePushesOne) {
    for (const IdleCase& each : kCases) {
        SCOPED_TRACE(each.name);
        CLayerWindowCore* wnd = each.open();
        PumpMessages();
        const unsigned settled = wnd->GetPushedFrames();
        EXPECT_GT(settled, 0u) << "the widget never showed";
        for (int tick = 0; tick < 3; ++tick) {
            each.unchanged();
            PumpMessages();
        }
        EXPECT_EQ(wnd->GetPushedFrames(), settled);
        each.changed();
        PumpMessages();
        EXPECT_EQ(wnd->GetPushedFrames(), settled + 1);
        each.close();
        PumpMessages();
    }
}
