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

namespace {

using IdleFramesTest = CWidgetTest;

// Each widget shown with its data, which its timers and messages then bring again unchanged, and then a change.
// The news redraws a repeat and the layered base finds the frame equal; the monitor, whose rates come every
// second, leaves a repeat alone.
TEST_F(IdleFramesTest, ATickThatChangesNothingPushesNoFrameAndAChangePushesOne) {
    CNewsWnd* news = CNewsWnd::GetInstance();
    CTempMonitorWnd* monitor = CTempMonitorWnd::GetInstance();
    const std::vector<NewsItem> headlines = {{L"a", L"", L"一", L""}, {L"b", L"", L"二", L""}};
    const SensorReading cpu{100, 1, 60, CTempMonitorModel::GetInstance()->NameOfType(100), 80, 90, 100};
    const struct {
        const char* name;
        CLayerWindowCore* wnd;
        std::function<void(bool)> show;
        std::function<void()> unchanged, changed;
    } cases[] = {
        {"news: the same headlines fetched again, then the carousel turning", news, [&](bool on) { news->Show(on); },
         [&] { news->SetNewsList(headlines); }, [&] { news->OnLayerTimer(CNewsWnd::kRotateTimer); }},
        {"monitor: the same reading and rates, then a new upload rate", monitor,
         [&](bool on) {
             monitor->SetPanel(CTempMonitorWnd::kPanelData);
             monitor->SetItems(100, kItemUpload);
             monitor->Show(on);
         },
         [&] {
             monitor->UpdateReadings(SensorReadings{{100, cpu}});
             ::SendMessageW(monitor->m_hWnd, WM_NETWORK_RATES, 0, kRateUnchanged);
         },
         [&] { ::SendMessageW(monitor->m_hWnd, WM_NETWORK_RATES, 5000, 2000); }},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        each.show(true);
        each.unchanged();
        PumpMessages();
        const unsigned settled = each.wnd->GetPushedFrames();
        EXPECT_GT(settled, 0u) << "the widget never showed";
        for (int tick = 0; tick < 3; ++tick) {
            each.unchanged();
            PumpMessages();
        }
        EXPECT_EQ(each.wnd->GetPushedFrames(), settled);
        each.changed();
        PumpMessages();
        EXPECT_EQ(each.wnd->GetPushedFrames(), settled + 1);
        each.show(false);
        PumpMessages();
    }
}

} // namespace
