// The weather widget as a user meets it: the located town's weather from the sample-data service, the town kept
// for the next start, the forecast switch, dragging, the close button and the city dialog. Answers that are not
// weather are in the service-fault test.

#include "e2e/ServiceTreeE2eTest.h"

#include <algorithm>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr int kLocatedTown = 110105; // where the service locates a caller

// Parts of the window (window coordinates): the temperature's digits, the icon, a spot of
// the forecast card between the rows' texts, the first row's date and weekday, and the toolbar's buttons.
constexpr RECT kDigits{4, 39, 218, 163}, kIcon{268, 44, 371, 153};
constexpr RECT kCard{145, 200, 200, 260}, kFirstRowDate{27, 180, 130, 190};
constexpr POINT kForecastSwitch{331, 24}, kClose{359, 23}, kCityButton{239, 24};
// In the city dialog: the town list and the "ok" button; the drop list's first row and row height.
constexpr POINT kTownList{314, 95}, kOk{231, 161};
constexpr int kDropRowTop = 4, kDropRowHeight = 26;

bool IsWhite(COLORREF c) {
    return GetRValue(c) > 225 && GetGValue(c) > 225 && GetBValue(c) > 225;
}
bool IsLight(COLORREF c) {
    return GetRValue(c) > 150 && GetGValue(c) > 150 && GetBValue(c) > 150;
}
bool IsSunYellow(COLORREF c) {
    return GetRValue(c) > 220 && GetGValue(c) > 120 && GetGValue(c) < 230 && GetBValue(c) < 120;
}
bool IsRainBlue(COLORREF c) {
    return GetBValue(c) > 200 && GetRValue(c) < 140;
}

class WeatherE2eTest : public CServiceTreeE2eTest {
protected:
    // Starts deskling with the weather (and first the wallpaper application, unless it runs), parks the pointer
    // off it and waits for its first frame with the service's data.
    void OpenWeather(bool startCompanion = true) {
        ClearLog();
        m_weather = OpenWidget(L"/weather", kWeatherWndClass, startCompanion);
        XDoTool(L"mousemove 0 0");
        EXPECT_TRUE(WaitForLog(L"weather first frame with data", 10s)) << ReadLog();
    }

    // How many samples of the window's part pass the test.
    template <class Test> long Count(const RECT& part, Test test) {
        const std::vector<COLORREF> samples = ScreenSamples(Part(part));
        return std::count_if(samples.begin(), samples.end(), test);
    }
    RECT Part(const RECT& part) { return Offset(m_weather, part); }

    // Clicks a point of the window, coming from inside it (which shows the toolbar), and leaves it again.
    void ClickAt(POINT at) {
        const RECT window = WindowRect(m_weather);
        XDoTool(At(window.left + 150, window.top + 100) + At(window.left + at.x, window.top + at.y) +
                L" click 1 sleep 0.2 mousemove 0 0");
    }

    // Opens the city dialog from the toolbar; its window once it shows, its town list filled.
    HWND OpenCityDialog() {
        ClickAt(kCityButton);
        HWND dialog = nullptr;
        EXPECT_TRUE(WaitUntil(
            [&] {
                const std::vector<HWND> found = FindTopLevelWindows(L"DesklingUIDialog");
                dialog = found.empty() ? nullptr : found[0];
                const RECT list{kTownList.x - 40, kTownList.y - 6, kTownList.x + 10, kTownList.y + 6};
                return ::IsWindowVisible(dialog) &&
                       std::ranges::count_if(ScreenSamples(Offset(dialog, list), 1), IsLight) > 10;
            },
            10s));
        return dialog;
    }

    // The weather paths the service was asked for since the last call.
    std::string WeatherRequests() { return m_service.Get(L"/control/weather-log"); }

    HWND m_weather = nullptr;
};

// Without a town of its own the widget asks where the caller is; the service's town shows with its digits and the
// icon its description calls for, and becomes the configured town, which the next start asks for by code.
TEST_F(WeatherE2eTest, ShowsTheLocatedTownAndAsksForItByCodeAfterARestart) {
    OpenWeather();
    EXPECT_TRUE(Reported("weather_show"));
    EXPECT_EQ(WeatherRequests().find("code="), std::string::npos) << "the first request names no town";
    EXPECT_GT(Count(kDigits, IsWhite), 15) << "no temperature digits";
    EXPECT_EQ(Count(kCard, IsLight), 0) << "the forecast is folded at first";

    // The icon's tell-tale colours, by the first keyword of the service's description.
    const std::string answer = m_service.Get(std::wstring(kWeatherPath) + L"?code=" + std::to_wstring(kLocatedTown));
    const std::string info = answer.substr(answer.find("\"info\"", answer.find("\"realtime\"")), 20);
    const long yellow = Count(kIcon, IsSunYellow), blue = Count(kIcon, IsRainBlue);
    const bool sunny = info.find("晴") != std::string::npos, cloudy = info.find("云") != std::string::npos;
    const bool rainy = !sunny && !cloudy && info.find("雨") != std::string::npos;
    EXPECT_TRUE(sunny ? yellow > 30 : cloudy ? yellow > 3 && Count(kIcon, IsWhite) > 30 : yellow == 0) << info;
    EXPECT_TRUE(rainy ? blue > 1 : blue == 0) << info;

    EXPECT_TRUE(WaitUntil([] { return SavedSetting("weather", "citycode") == kLocatedTown; }, 2s));
    ASSERT_TRUE(ExitDeskling());
    WeatherRequests();
    OpenWeather(false);
    EXPECT_NE(WeatherRequests().find("code=" + std::to_string(kLocatedTown)), std::string::npos);
    EXPECT_GT(Count(kDigits, IsWhite), 15);
}

// The forecast switch on the toolbar unfolds the card of the coming days and folds it again, saving the choice;
// the close button switches the widget off.
TEST_F(WeatherE2eTest, ForecastSwitchAndCloseButton) {
    OpenWeather();
    ClickAt(kForecastSwitch);
    EXPECT_TRUE(WaitUntil([] { return SavedSetting("weather", "future") == 1; }, 2s));
    EXPECT_TRUE(WaitUntil([&] { return Count(kCard, IsLight) > 300; }, 1s)) << "no forecast card";
    EXPECT_GT(Count(kFirstRowDate, [](COLORREF c) { return !IsLight(c); }), 3) << "no dates on the card";
    ClickAt(kForecastSwitch);
    EXPECT_TRUE(WaitUntil([] { return SavedSetting("weather", "future") == 0; }, 2s));
    EXPECT_TRUE(WaitUntil([&] { return Count(kCard, IsLight) == 0; }, 1s));

    ClickAt(kClose);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(m_weather); }, 3s));
    EXPECT_TRUE(SwitchedOff(L"weather"));
    EXPECT_TRUE(Reported("weather_close"));
}

// The city dialog opens below the widget with the town on display (in the third province, its third city) chosen:
// "ok" then asks for nothing. It stays attached as the forecast folds and as the widget is dragged (which saves the
// widget's place). Another town picked with the mouse is asked for, shown and kept.
TEST_F(WeatherE2eTest, TheCityDialogPresetsTheTownOnDisplayAndAnotherTownPickedIsShown) {
    ASSERT_TRUE(EnsureFolder(DataFolder()));
    ASSERT_TRUE(WriteTextFile(DataFolder() + L"\\deskling.ini", "[weather]\r\ncitycode=440305\r\nfuture=1\r\n"));
    OpenWeather();
    HWND dialog = OpenCityDialog();
    const auto attached = [&](int overlap) {
        const RECT widget = WindowRect(m_weather), below = WindowRect(dialog);
        return below.left == widget.left && below.top == widget.bottom - overlap;
    };
    EXPECT_TRUE(attached(15));
    ClickAt(kForecastSwitch);
    EXPECT_TRUE(WaitUntil([&] { return attached(181); }, 1s));
    const RECT before = WindowRect(m_weather);
    const int x = before.left + 240, y = before.top + 150;
    XDoTool(At(x, y) + L" mousedown 1" + At(x - 50, y + 10) + At(x - 100, y + 20) + L" mouseup 1 mousemove 0 0");
    EXPECT_TRUE(WaitUntil([&] { return WindowRect(m_weather).left == before.left - 100 && attached(181); }, 1s));
    EXPECT_TRUE(WaitUntil([&] { return SavedSetting("weather", "XPos") == before.left - 100; }, 2s));
    EXPECT_EQ(SavedSetting("weather", "YPos"), before.top + 20);
    ClickAt(kForecastSwitch);
    EXPECT_TRUE(WaitUntil([&] { return attached(15); }, 1s));

    WeatherRequests();
    const RECT ok = Offset(dialog, RECT{kOk.x, kOk.y, kOk.x, kOk.y});
    XDoTool(At(ok.left, ok.top) + L" click 1 mousemove 0 0");
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }, 2s));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(WeatherRequests().find("sed_api_weather_info"), std::string::npos) << "the town on display was asked for";

    // The fifth town of the list (its first eight show, the chosen third among them): 440307.
    const std::vector<COLORREF> shown = ScreenSamples(Part(RECT{0, 29, 389, 338}), 2);
    dialog = OpenCityDialog();
    const RECT list = Offset(dialog, RECT{kTownList.x, kTownList.y, kTownList.x, kTownList.y});
    XDoTool(At(list.left, list.top) + L" click 1");
    HWND drop = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(drop = ::FindWindowW(L"DesklingUIDropList", nullptr)); }, 2s));
    const RECT rows = WindowRect(drop);
    XDoTool(At(rows.left + 30, rows.top + kDropRowTop + kDropRowHeight * 4 + kDropRowHeight / 2) + L" click 1" +
            At(ok.left, ok.top) + L" click 1 mousemove 0 0");
    EXPECT_TRUE(WaitUntil([] { return SavedSetting("weather", "citycode") == 440307; }, 5s));
    EXPECT_NE(WeatherRequests().find("code=440307"), std::string::npos);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return ScreenSamples(Part(RECT{0, 29, 389, 338}), 2) != shown;
        },
        2s))
        << "the other town's weather is not on screen";
}

} // namespace
} // namespace e2e
