// The weather widget as a user meets it: the located town's weather from the sample-data service, the town kept
// for the next start, the forecast switch, dragging, the close button, and answers that are not weather leaving
// the last good display on screen.

#include "e2e/ServiceTreeE2eTest.h"

#include <algorithm>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr wchar_t kWeatherPath[] = L"/sed_api_weather_info.php";
constexpr int kLocatedTown = 110105; // where the service locates a caller

// Parts of the window (window coordinates): the temperature's digits, the icon, the current conditions, a spot of
// the forecast card between the rows' texts, the first row's date and weekday, and the toolbar's buttons.
constexpr RECT kDigits{4, 39, 218, 163}, kIcon{268, 44, 371, 153}, kCurrent{0, 29, 389, 172};
constexpr RECT kCard{145, 200, 200, 260}, kFirstRowDate{27, 180, 130, 190};
constexpr POINT kForecastSwitch{331, 24}, kClose{359, 23};

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
        if (startCompanion) {
            StartCompanion();
        }
        ClearLog();
        CChildProcess& deskling = StartDeskling(L"/weather", m_exe);
        EXPECT_TRUE(WaitUntil(
            [&] { return ::IsWindowVisible(m_weather = WaitForWindow(L"VexawpWeatherWndClass", deskling.Id(), 0ms)); },
            10s));
        m_main = WaitForMainWindow(deskling);
        XDoTool(L"mousemove 0 0");
        EXPECT_TRUE(WaitForLog(L"weather first frame with data", 10s)) << ReadLog();
    }

    // How many samples of the window's part pass the test.
    template <class Test> long Count(const RECT& part, Test test) {
        const std::vector<COLORREF> samples = ScreenSamples(Part(part));
        return std::count_if(samples.begin(), samples.end(), test);
    }
    RECT Part(const RECT& part) {
        const RECT window = WindowRect(m_weather);
        return RECT{window.left + part.left, window.top + part.top, window.left + part.right, window.top + part.bottom};
    }

    // Clicks a point of the window, coming from inside it (which shows the toolbar), and leaves it again.
    void ClickAt(POINT at) {
        const RECT window = WindowRect(m_weather);
        XDoTool(At(window.left + 150, window.top + 100) + At(window.left + at.x, window.top + at.y) +
                L" click 1 sleep 0.2 mousemove 0 0");
    }

    // The weather paths the service was asked for since the last call.
    std::string WeatherRequests() { return m_service.Get(L"/control/weather-log"); }

    HWND m_weather = nullptr;
    HWND m_main = nullptr;
};

// Without a town of its own the widget asks where the caller is; the service's town shows with its digits and the
// icon its description calls for, and becomes the configured town, which the next start asks for by code.
TEST_F(WeatherE2eTest, ShowsTheLocatedTownAndAsksForItByCodeAfterARestart) {
    OpenWeather();
    EXPECT_TRUE(Reported("weather_show"));
    const RECT window = WindowRect(m_weather);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(std::vector<LONG>({window.left, window.top, window.right, window.bottom}),
              std::vector<LONG>({work.right - 419, work.top, work.right - 30, work.top + 338}));
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
    EXPECT_TRUE(StartDeskling(L"/exit", m_exe).WaitForExit(5000));
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(m_main); }, 5s));
    WeatherRequests();
    OpenWeather(false);
    EXPECT_NE(WeatherRequests().find("code=" + std::to_string(kLocatedTown)), std::string::npos);
    EXPECT_GT(Count(kDigits, IsWhite), 15);
}

// The forecast switch on the toolbar unfolds the card of the coming days and folds it again, saving the choice; a
// drag by the panel moves the widget and saves its place; the close button switches it off.
TEST_F(WeatherE2eTest, ForecastSwitchDragAndCloseButton) {
    OpenWeather();
    ClickAt(kForecastSwitch);
    EXPECT_TRUE(WaitUntil([] { return SavedSetting("weather", "future") == 1; }, 2s));
    EXPECT_TRUE(WaitUntil([&] { return Count(kCard, IsLight) > 300; }, 1s)) << "no forecast card";
    EXPECT_GT(Count(kFirstRowDate, [](COLORREF c) { return !IsLight(c); }), 3) << "no dates on the card";
    ClickAt(kForecastSwitch);
    EXPECT_TRUE(WaitUntil([] { return SavedSetting("weather", "future") == 0; }, 2s));
    EXPECT_TRUE(WaitUntil([&] { return Count(kCard, IsLight) == 0; }, 1s));

    const RECT before = WindowRect(m_weather);
    const int x = before.left + 240, y = before.top + 150;
    XDoTool(At(x, y) + L" mousedown 1" + At(x - 60, y + 40) + At(x - 120, y + 80) + L" mouseup 1 mousemove 0 0");
    RECT after{};
    EXPECT_TRUE(WaitUntil(
        [&] { return (after = WindowRect(m_weather)).left == before.left - 120 && after.top == before.top + 80; }, 1s))
        << after.left - before.left << "," << after.top - before.top;
    EXPECT_TRUE(WaitUntil(
        [&] { return SavedSetting("weather", "XPos") == after.left && SavedSetting("weather", "YPos") == after.top; },
        2s));

    ClickAt(kClose);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(m_weather); }, 3s));
    DWORD value = 1, size = sizeof(value);
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"Software\\VexaWallPaper", L"weather", RRF_RT_REG_DWORD, nullptr,
                             &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 0u);
    EXPECT_TRUE(Reported("weather_close"));
}

// Each answer that is not weather (a failed state with a whole answer of another town in its body, a top level
// of the wrong type, a cut body, a body that is not JSON, statuses 404 and 500, a reset) leaves the conditions on
// screen as they were; a slow answer shows the same weather once it comes.
TEST_F(WeatherE2eTest, AnswersThatAreNotWeatherLeaveTheLastGoodDisplay) {
    OpenWeather();
    const std::vector<COLORREF> good = ScreenSamples(Part(kCurrent), 2);
    const std::wstring control = L"/control/answer?path=" + std::wstring(kWeatherPath);
    for (const wchar_t* variant :
         {L"error", L"wrong-type", L"truncated", L"garbage", L"404", L"500", L"reset", L"slow"}) {
        const std::string before = m_service.Get(control);
        m_service.Get(control + L"&variant=" + variant + L"&count=1&delay=1500");
        // Shown again, the widget asks for its town's weather.
        EXPECT_TRUE(StartDeskling(L"/closeweather", m_exe).WaitForExit(5000));
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(m_weather); }, 3s));
        EXPECT_TRUE(StartDeskling(L"/weather", m_exe).WaitForExit(5000));
        // The answer has begun once the report, with the variant used up, differs from the one before.
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(m_weather) && m_service.Get(control) != before; }, 5s));
        std::this_thread::sleep_for(std::wstring(variant) == L"slow" ? 2500ms : 700ms);
        EXPECT_TRUE(ScreenSamples(Part(kCurrent), 2) == good) << "the display changed after the answer " << variant;
    }
}

} // namespace
} // namespace e2e
