#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <vector>

#include "app/IniSettings.h"
#include "app/VexaPublicDLLHelper.h"
#include "layer/LayerCheckboxCtrl.h"
#include "layer/SkinRegistry.h"
#include "monitor/FlowMonitor.h"
#include "monitor/TempMonitorControl.h"
#include "monitor/TempMonitorModel.h"
#include "monitor/TempMonitorWnd.h"
#include "net/FormatRate.h"
#include "unit/app/ScratchFolder.h"
#include "unit/calendar/PumpMessages.h"
#include "unit/WidgetTest.h"

namespace {

// The monitor's window and controller in this process, the test thread their UI thread; no tool installed.
class TempMonitorTest : public CWidgetTest {
protected:
    static void SetUpTestSuite() {
        CWidgetTest::SetUpTestSuite();
        // The signature test of the tool's library and the rate gate asks the base library, as the program does.
        CVexaBaseHelper::GetInstance().Initialise(ShippedPath(L"Vexabase.dll").c_str());
    }
    void SetUp() override {
        CWidgetTest::SetUp();
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Brako", view, 0);
        }
    }
    static SensorReadings Readings(std::initializer_list<std::pair<int32_t, int32_t>> values) {
        CTempMonitorModel* model = CTempMonitorModel::GetInstance();
        SensorReadings readings;
        for (auto [type, value] : values) {
            readings[type] = SensorReading{type, 1, value, model->NameOfType(type), 80, 90, 100};
        }
        return readings;
    }
};

// Choice repair orders the two sensors; a rate message changes only the rate it carries; three checked
// settings rows give the first two in walk order; the test setting replaces gauge 1's value.
TEST_F(TempMonitorTest, GaugesRatesAndSettings) {
    CTempMonitorWnd* wnd = CTempMonitorWnd::GetInstance();
    wnd->Show(true);
    ASSERT_TRUE(wnd->IsShown());
    wnd->SetPanel(CTempMonitorWnd::kPanelData);
    wnd->SetItems(101, 100);
    wnd->SetReadings(Readings({{100, 79}, {101, 41}}));
    EXPECT_EQ(wnd->GetGaugeName(Gauge::kLarge), L"CPU温度");
    EXPECT_EQ(wnd->GetGaugeValue(Gauge::kLarge), L"79°C");
    EXPECT_EQ(wnd->GetGaugeName(Gauge::kSmall), L"硬盘温度");
    EXPECT_FALSE(wnd->GetSettingsWindow().GetRow(1)->IsEnabled()) << "no graphics card reading";

    ::SendMessageW(wnd->m_hWnd, WM_NETWORK_RATES, 2048, 4096);
    ::SendMessageW(wnd->m_hWnd, WM_NETWORK_RATES, kRateUnchanged, 1000);
    EXPECT_EQ(wnd->GetRate(kItemUpload).value, 2048u);
    EXPECT_EQ(wnd->GetRate(kItemDownload).value, 1000u);

    CTempSetWnd& settings = wnd->GetSettingsWindow();
    for (int row : {6, 5, 3}) {
        settings.GetRow(row)->SetCheck(true, FALSE);
    }
    settings.GetRow(0)->SetCheck(false, FALSE);
    settings.Confirm();
    EXPECT_EQ(wnd->GetItems().item1, 101);
    EXPECT_EQ(wnd->GetItems().item2, kItemDownload);
    EXPECT_EQ(CIniSettings::GetInstance()->GetTempMonitorTemp2(), kItemDownload);
    EXPECT_EQ(wnd->GetGaugeName(Gauge::kSmall), L"下载速度");
    EXPECT_EQ(wnd->GetGaugeValue(Gauge::kSmall), FormatRate(1000) + L"/s");

    ::WritePrivateProfileStringW(L"tempmonitor", L"test", L"95", CIniSettings::GetInstance()->GetFilePath().c_str());
    wnd->UpdateReadings(Readings({{100, 79}, {101, 43}}));
    EXPECT_EQ(wnd->GetGaugeValue(Gauge::kLarge), L"95°C");
    ::WritePrivateProfileStringW(L"tempmonitor", L"test", nullptr, CIniSettings::GetInstance()->GetFilePath().c_str());
    wnd->ShowDetectFailed();
    EXPECT_EQ(wnd->GetGaugeName(Gauge::kLarge), L"检测失败");
}

// Without the tool: "取消" while the widget is shown changes nothing. With it: readings shown (state 11) make
// a later start do nothing.
TEST_F(TempMonitorTest, ControllerStates) {
    CTempMonitorControl* control = CTempMonitorControl::GetInstance();
    CTempMonitorWnd::GetInstance()->Show(true);
    control->StopMonitor();
    control->StartMonitor(false);
    EXPECT_EQ(control->GetState(), CTempMonitorControl::kStateOffered);
    control->OnMsgBoxResult(1, L"");
    EXPECT_EQ(control->GetState(), CTempMonitorControl::kStateOffered);
    EXPECT_TRUE(CTempMonitorWnd::GetInstance()->IsShown());

    static CScratchFolder tool(L"monitor-tool");
    ASSERT_TRUE(::CopyFileW(ShippedPath(L"brako\\DataMgr.dll").c_str(), (tool / L"DataMgr.dll").c_str(), FALSE));
    CRegKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Brako", 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                                nullptr, key.Receive(), nullptr),
              ERROR_SUCCESS);
    const std::wstring folder = tool.Path() + L"\\";
    ::RegSetValueExW(key.Get(), L"Setup Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    control->StopMonitor();
    control->StartMonitor(true);
    EXPECT_EQ(control->GetState(), CTempMonitorControl::kStateConnected);
    control->OnTemperaturesReady();
    EXPECT_EQ(control->GetState(), CTempMonitorControl::kStateShowing);
    control->GetOfferBox().Hide();
    control->StartMonitor(false);
    EXPECT_EQ(control->GetState(), CTempMonitorControl::kStateShowing);
    EXPECT_FALSE(::IsWindowVisible(control->GetOfferBox().m_hWnd));
    control->StopMonitor();
}

// The rate path with the adapters the test names, since Wine offers no device query for physical adapters: every
// interface row's address is counted. Reports come for changes only; "open=0" in config.set makes both 0.
TEST_F(TempMonitorTest, FlowMonitorReportsChangesAndObeysTheSwitch) {
    static CScratchFolder exe(L"monitor-flow");
    ASSERT_TRUE(::CreateDirectoryW((exe / L"net").c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(ShippedPath(L"net\\netload.dll").c_str(), (exe / L"net\\netload.dll").c_str(), FALSE));
    AdapterSet adapters;
    EXPECT_TRUE(BuildAdapterSet(&adapters));
    std::vector<BYTE> buffer(64 * 1024);
    ULONG size = static_cast<ULONG>(buffer.size());
    if (::GetIfTable(reinterpret_cast<MIB_IFTABLE*>(buffer.data()), &size, FALSE) == NO_ERROR) {
        const auto* table = reinterpret_cast<const MIB_IFTABLE*>(buffer.data());
        for (DWORD i = 0; i < table->dwNumEntries; ++i) {
            adapters.insert(AdapterKey(table->table[i].bPhysAddr, table->table[i].dwPhysAddrLen));
        }
    }
    CWindowHandle sink(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    auto next = [&](CFlowMonitor& flow) {
        flow.Sample();
        MSG msg{};
        return ::PeekMessageW(&msg, sink.Get(), WM_NETWORK_RATES, WM_NETWORK_RATES, PM_REMOVE) ? msg : MSG{};
    };
    CFlowMonitor flow;
    ASSERT_EQ(flow.InitFromFolder(exe.Path() + L"\\"), 1);
    flow.SetNotifyWindow(sink.Get());
    flow.SetAdapterSet(&adapters);
    EXPECT_EQ(next(flow).message, 0u) << "the first sample has no rate yet";
    ::Sleep(50);
    next(flow);
    EXPECT_EQ(next(flow).message, 0u) << "a steady rate is not sent again";

    ASSERT_TRUE(CScratchFolder::WriteFileText(exe / L"config.set", "[netload]\r\nopen=0\r\n"));
    const MSG off = next(flow);
    EXPECT_EQ(off.message, WM_NETWORK_RATES);
    EXPECT_EQ(off.wParam, 0u);
    EXPECT_EQ(off.lParam, 0);
}

} // namespace
