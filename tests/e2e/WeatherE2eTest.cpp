// The weather widget as a user meets it: the located town's weather from the sample-data service, the town kept
// for the next start, the forecast switch, dragging, the close button, and answers that are not weather leaving
// the last good display on screen.

#include "e2e/ServiceTreeE2eTest.h"

#include <cJSON.h>

#include <memory>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr wchar_t kWeatherWndClass[] = L"VexawpWeatherWndClass";
constexpr wchar_t kWeatherPath[] = L"/sed_api_weather_info.php";
// The town the service locates a caller in.
constexpr char kLocatedTown[] = "110105";
constexpr int kLocatedTownCode = 110105;

// Parts of the window (window coordinates): the current conditions' digits and icon, the current conditions,
// a spot of the forecast card between the rows' texts, an empty spot of the panel to drag by, and the toolbar's
// buttons.
constexpr RECT kDigits{4, 39, 218, 163};
constexpr RECT kIcon{268, 44, 371, 153};
constexpr RECT kCurrent{0, 29, 389, 172};
constexpr RECT kCard{145, 200, 200, 260};
constexpr POINT kDragSpot{240, 150};
constexpr POINT kForecastSwitch{331, 24};
constexpr POINT kClose{359, 23};

bool IsWhite(COLORREF c) {
    return GetRValue(c) > 225 && GetGValue(c) > 225 && GetBValue(c) > 225;
}
bool IsSunYellow(COLORREF c) {
    return GetRValue(c) > 220 && GetGValue(c) > 120 && GetGValue(c) < 230 && GetBValue(c) < 120;
}
bool IsRainBlue(COLORREF c) {
    return GetBValue(c) > 200 && GetRValue(c) < 140;
}
bool IsLight(COLORREF c) {
    return GetRValue(c) > 150 && GetGValue(c) > 150 && GetBValue(c) > 150;
}

std::string Text(const cJSON* node) {
    return cJSON_IsString(node) ? node->valuestring : "";
}

class WeatherE2eTest : public CServiceTreeE2eTest {
protected:
    // Starts deskling with the weather (and first the wallpaper application, unless it runs), parks the pointer
    // off it and waits for its first frame with the service's data; the shown window.
    HWND OpenWeather(bool startCompanion = true) {
        if (startCompanion) {
            StartCompanion();
        }
        ClearLog();
        CChildProcess& deskling = StartDeskling(L"/weather", m_exe);
        HWND weather = nullptr;
        EXPECT_TRUE(WaitUntil(
            [&] { return ::IsWindowVisible(weather = WaitForWindow(kWeatherWndClass, deskling.Id(), 0ms)); }, 10s))
            << ReadLog();
        m_main = WaitForMainWindow(deskling);
        XDoTool(L"mousemove 0 0");
        EXPECT_TRUE(WaitForLog(L"weather first frame with data", 10s)) << ReadLog();
        return weather;
    }

    // The window's part as the screen shows it, in window coordinates.
    static CScreenArea Capture(HWND weather) {
        const RECT window = WindowRect(weather);
        return CScreenArea(window);
    }

    // Presses at a point of the window and moves the pointer off it again.
    void ClickAt(HWND weather, POINT at) {
        const RECT window = WindowRect(weather);
        XDoTool(At(window.left + 150, window.top + 100) + At(window.left + at.x, window.top + at.y) +
                L" click 1 sleep 0.2 mousemove 0 0");
        std::this_thread::sleep_for(300ms);
    }

    // The service's answer for a town, as the widget would get it.
    std::string RealtimeInfo(const std::string& town) {
        const std::string body = m_service.Get(std::wstring(kWeatherPath) + L"?app=bko&fmt=json&code=" +
                                               std::wstring(town.begin(), town.end()));
        WeatherRequests(); // the test's own request is not the widget's
        std::unique_ptr<cJSON, decltype(&cJSON_Delete)> root(cJSON_Parse(body.c_str()), &cJSON_Delete);
        const cJSON* weather = cJSON_GetObjectItem(cJSON_GetObjectItem(root.get(), "realtime"), "weather");
        return Text(cJSON_GetObjectItem(weather, "info"));
    }

    // The weather requests the service has had since the last call.
    std::string WeatherRequests() { return m_service.Get(L"/control/weather-log"); }

    // How many weather answers the service has begun.
    int WeatherAnswers() {
        const std::string report = m_service.Get(L"/control/answer?path=" + std::wstring(kWeatherPath));
        const size_t at = report.find("\"requests\": ");
        return at == std::string::npos ? -1 : std::atoi(report.c_str() + at + 12);
    }

    HWND m_main = nullptr;
};

// Without a town of its own the widget asks where the caller is; the service's town shows with its digits and the
// icon its description calls for, and becomes the configured town, which the next start asks the CDN for.
TEST_F(WeatherE2eTest, ShowsTheLocatedTownAndAsksForItByCodeAfterARestart) {
    HWND weather = OpenWeather();
    ASSERT_NE(weather, nullptr);
    EXPECT_TRUE(Reported("weather_show"));
    const RECT window = WindowRect(weather);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(std::vector<LONG>({window.left, window.top, window.right - window.left, window.bottom - window.top}),
              std::vector<LONG>({work.right - 30 - 389, work.top, 389, 338}));

    EXPECT_EQ(WeatherRequests().find("code="), std::string::npos) << "the first request names no town";
    const CScreenArea shown = Capture(weather);
    ASSERT_TRUE(shown.IsCaptured());
    EXPECT_GT(shown.Count(kDigits, IsWhite), 150) << "no temperature digits";
    // The icon's tell-tale colours, by the first keyword of the description.
    const std::string info = RealtimeInfo(kLocatedTown);
    const int yellow = shown.Count(kIcon, IsSunYellow), blue = shown.Count(kIcon, IsRainBlue);
    if (info.find("晴") != std::string::npos) {
        EXPECT_GT(yellow, 300) << info;
    } else if (info.find("云") != std::string::npos) {
        EXPECT_GT(yellow, 30) << info;
        EXPECT_GT(shown.Count(kIcon, IsWhite), 300) << info;
    } else if (info.find("雨") != std::string::npos) {
        EXPECT_GT(blue, 10) << info;
        EXPECT_EQ(yellow, 0) << info;
    } else {
        EXPECT_EQ(yellow + blue, 0) << info;
        EXPECT_GT(shown.Count(kIcon, IsLight), 300) << info;
    }
    // Folded by default: no forecast card.
    EXPECT_EQ(shown.Count(kCard, IsLight), 0);

    EXPECT_TRUE(WaitUntil([] { return SavedSetting("weather", "citycode") == kLocatedTownCode; }, 2s));
    EXPECT_TRUE(StartDeskling(L"/exit", m_exe).WaitForExit(5000));
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(m_main); }, 5s));
    weather = OpenWeather(false);
    ASSERT_NE(weather, nullptr);
    EXPECT_NE(WeatherRequests().find(std::string("code=") + kLocatedTown), std::string::npos);
    EXPECT_GT(Capture(weather).Count(kDigits, IsWhite), 150);
}

// The forecast switch on the toolbar unfolds the card of the coming days and folds it again, saving the choice; a
// drag by the panel moves the widget and saves its place; the close button switches it off.
TEST_F(WeatherE2eTest, ForecastSwitchDragAndCloseButton) {
    HWND weather = OpenWeather();
    ASSERT_NE(weather, nullptr);
    ClickAt(weather, kForecastSwitch);
    EXPECT_TRUE(WaitUntil([] { return SavedSetting("weather", "future") == 1; }, 2s));
    const CScreenArea unfolded = Capture(weather);
    EXPECT_GT(unfolded.Count(kCard, IsLight), 3000) << "no forecast card";
    // The rows' dark text on the card: dates and weekdays.
    EXPECT_GT(unfolded.Count(RECT{27, 180, 130, 190}, [](COLORREF c) { return !IsLight(c); }), 20);
    ClickAt(weather, kForecastSwitch);
    EXPECT_TRUE(WaitUntil([] { return SavedSetting("weather", "future") == 0; }, 2s));
    EXPECT_EQ(Capture(weather).Count(kCard, IsLight), 0);

    const RECT before = WindowRect(weather);
    const int x = before.left + kDragSpot.x, y = before.top + kDragSpot.y;
    XDoTool(At(x, y) + L" mousedown 1" + At(x - 60, y + 40) + At(x - 120, y + 80) + L" mouseup 1 mousemove 0 0");
    std::this_thread::sleep_for(300ms);
    const RECT after = WindowRect(weather);
    EXPECT_EQ(std::vector<LONG>({after.left - before.left, after.top - before.top}), std::vector<LONG>({-120, 80}));
    EXPECT_TRUE(WaitUntil(
        [&] { return SavedSetting("weather", "XPos") == after.left && SavedSetting("weather", "YPos") == after.top; },
        2s))
        << SavedSetting("weather", "XPos") << "," << SavedSetting("weather", "YPos");

    ClickAt(weather, kClose);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(weather); }, 3s));
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
    HWND weather = OpenWeather();
    ASSERT_NE(weather, nullptr);
    const RECT window = WindowRect(weather);
    const RECT current{window.left + kCurrent.left, window.top + kCurrent.top, window.left + kCurrent.right,
                       window.top + kCurrent.bottom};
    const CScreenArea good(current);
    ASSERT_TRUE(good.IsCaptured());
    for (const wchar_t* variant :
         {L"error", L"wrong-type", L"truncated", L"garbage", L"404", L"500", L"reset", L"slow"}) {
        m_service.Get(L"/control/answer?path=" + std::wstring(kWeatherPath) + L"&variant=" + variant +
                      L"&count=1&delay=1500");
        const int answers = WeatherAnswers();
        // Shown again, the widget asks for its town's weather.
        EXPECT_TRUE(StartDeskling(L"/closeweather", m_exe).WaitForExit(5000));
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(weather); }, 3s));
        EXPECT_TRUE(StartDeskling(L"/weather", m_exe).WaitForExit(5000));
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(weather) && WeatherAnswers() > answers; }, 5s)) << variant;
        std::this_thread::sleep_for(std::wstring(variant) == L"slow" ? 2500ms : 700ms);
        EXPECT_TRUE(CScreenArea(current) == good) << "the display changed after the " << variant << " answer";
    }
}

} // namespace
} // namespace e2e
