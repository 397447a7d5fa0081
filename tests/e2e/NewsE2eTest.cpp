// The news widget as a user meets it: headlines over their pictures from the sample-data service, the carousel
// turning, a click on a picture opening the headline's page in the browser, the drag lock across a restart and
// the close button.

#include "e2e/ServiceTreeE2eTest.h"

#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr wchar_t kBrowserKey[] = L"http\\shell\\open\\command";
// The checked dot, and the sun of the second sample picture, as the screen shows them.
constexpr COLORREF kCheckedDot = RGB(98, 184, 255);
constexpr COLORREF kSecondSun = RGB(255, 220, 120);

// Pixels of three rows through the title whiter than any sample picture: the title's text.
int TitlePixels(HWND news) {
    const RECT window = WindowRect(news);
    int white = 0;
    for (int y = window.top + 225; y <= window.top + 233; y += 4) {
        for (int x = window.left + 16; x < window.left + 288; ++x) {
            white += Near(ScreenPixel(x, y), RGB(255, 255, 255), 30);
        }
    }
    return white;
}

class NewsE2eTest : public CServiceTreeE2eTest {
protected:
    // No test of the prefix relies on a real browser.
    void TearDown() override {
        CServiceTreeE2eTest::TearDown();
        ::RegDeleteKeyValueW(HKEY_CLASSES_ROOT, kBrowserKey, nullptr);
    }

    // The recording stand-in browser becomes the program that opens web addresses.
    bool RegisterStandInBrowser() {
        const std::wstring command =
            Quoted(TestProgramFolder() + L"\\helpers\\StandInBrowser.exe") + L" " + Quoted(Opened());
        return ::RegSetKeyValueW(HKEY_CLASSES_ROOT, kBrowserKey, nullptr, REG_SZ, command.c_str(),
                                 static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    std::wstring Opened() const { return m_scratch + L"\\opened.txt"; }

    // The checked one of the three dots, -1 for none.
    static int CheckedDot(HWND news) {
        const RECT window = WindowRect(news);
        for (int i = 0; i < 3; ++i) {
            if (Near(ScreenPixel(window.left + 139 + 11 * i, window.top + 200), kCheckedDot, 30)) {
                return i;
            }
        }
        return -1;
    }

    // Drags from the title strip's empty part by (dx, dy); how far the window went.
    POINT Drag(HWND news, int dx, int dy) {
        const RECT before = WindowRect(news);
        const int x = before.left + 230, y = before.top + 25;
        XDoTool(At(x, y) + L" mousedown 1" + At(x + dx / 2, y + dy / 2) + At(x + dx, y + dy) + L" mouseup 1");
        std::this_thread::sleep_for(300ms);
        const RECT after = WindowRect(news);
        return POINT{after.left - before.left, after.top - before.top};
    }
};

// The first headline has neither picture nor link: its title shows, a click on it opens nothing. Ten seconds
// on, the second dot is checked and the second headline shows over its picture; a click opens its page.
TEST_F(NewsE2eTest, TurnsToTheNextHeadlineWithinElevenSecondsAndAClickOpensItsPageInTheBrowser) {
    ASSERT_TRUE(RegisterStandInBrowser());
    m_service.Get(L"/control/answer?path=/super/news.php&variant=empty-src");
    HWND news = OpenWidget(L"/news", kNewsWndClass);
    ASSERT_NE(news, nullptr);
    XDoTool(L"mousemove 0 0");
    const RECT window = WindowRect(news);
    ASSERT_TRUE(WaitUntil([&] { return CheckedDot(news) == 0 && TitlePixels(news) > 30; }, 10s, 100ms))
        << CheckedDot(news) << " " << TitlePixels(news);
    const auto first = Clock::now();
    const int pictureX = window.left + 14 + 196, pictureY = window.top + 37 + 64;
    ASSERT_TRUE(XDoTool(At(pictureX, pictureY) + L" click 1 mousemove 0 0"));
    std::this_thread::sleep_for(1s);
    EXPECT_FALSE(PathExists(Opened())) << "a headline without a link opens nothing";

    EXPECT_TRUE(WaitUntil([&] { return CheckedDot(news) == 1; }, 11s, 100ms)) << CheckedDot(news);
    EXPECT_LT(MillisecondsSince(first), 11000.0);
    EXPECT_TRUE(WaitUntil([&] { return Near(ScreenPixel(pictureX, pictureY), kSecondSun, 12); }, 3s, 100ms))
        << std::hex << ScreenPixel(pictureX, pictureY);
    EXPECT_GT(TitlePixels(news), 30);
    ASSERT_TRUE(XDoTool(At(pictureX, pictureY) + L" click 1 mousemove 0 0"));
    std::string recorded;
    EXPECT_TRUE(WaitUntil([&] { return !(recorded = ReadFileBytes(Opened())).empty(); }, 5s));
    EXPECT_NE(recorded.find("/super/page/2.html"), std::string::npos) << recorded;
}

// The hover look follows the pointer: none while it is parked away, shown over the widget, gone once it has
// left, also after a press on the picture dragged off the widget and released outside, and on a pass after that.
TEST_F(NewsE2eTest, TheTitleStripShowsOnlyWhileThePointerIsOverTheWidget) {
    HWND news = OpenWidget(L"/news", kNewsWndClass);
    ASSERT_NE(news, nullptr);
    ASSERT_TRUE(XDoTool(L"mousemove 0 0"));
    const RECT window = WindowRect(news);
    const int pictureX = window.left + 150, pictureY = window.top + 120;
    // The white caption "今日头条" of the title strip.
    const auto shown = [&] {
        int white = 0;
        for (int x = window.left + 119; x < window.left + 194; ++x) {
            white += Near(ScreenPixel(x, window.top + 25), RGB(255, 255, 255), 60);
        }
        return white > 5;
    };
    std::this_thread::sleep_for(1s);
    EXPECT_FALSE(shown());
    // Off the widget with the button down, and on outside for longer than the system's leave check.
    for (const wchar_t* off :
         {L" mousedown 1 mousemove_relative -- -200 200 sleep 0.6 mousemove_relative -- -20 20 sleep 0.3 mouseup 1",
          L""}) {
        ASSERT_TRUE(XDoTool(At(pictureX, pictureY) + At(pictureX + 4, pictureY + 4)));
        EXPECT_TRUE(WaitUntil(shown, 2s, 100ms));
        ASSERT_TRUE(XDoTool(std::wstring(off) + L" mousemove 0 0"));
        EXPECT_TRUE(WaitUntil([&] { return !shown(); }, 2s, 100ms));
    }
}

// Locked from its title strip, the widget does not follow a drag, and still does not after a restart; its
// close button switches it off in the registry and reports "news_close".
TEST_F(NewsE2eTest, TheLockHoldsTheWidgetAcrossARestartAndTheCloseButtonSwitchesItOff) {
    HWND news = OpenWidget(L"/news", kNewsWndClass);
    ASSERT_NE(news, nullptr);
    EXPECT_TRUE(Reported("news_show"));
    RECT window = WindowRect(news);
    ASSERT_TRUE(XDoTool(At(window.left + 150, window.top + 120) + At(window.left + 31, window.top + 24) + L" click 1"));
    EXPECT_TRUE(WaitUntil([] { return SavedSetting("news", "lock") == 1; }, 2s)) << SavedSetting("news", "lock");
    EXPECT_EQ(Drag(news, -80, 60).x, 0);

    ASSERT_TRUE(ExitDeskling());
    news = OpenWidget(L"/news", kNewsWndClass, false);
    ASSERT_NE(news, nullptr);
    const POINT moved = Drag(news, -80, 60);
    EXPECT_EQ(std::vector<LONG>({moved.x, moved.y}), std::vector<LONG>({0, 0}));

    window = WindowRect(news);
    ASSERT_TRUE(
        XDoTool(At(window.left + 150, window.top + 120) + At(window.left + 269, window.top + 24) + L" click 1"));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(news); }, 3s));
    EXPECT_TRUE(SwitchedOff(L"news"));
    EXPECT_TRUE(Reported("news_close"));
}

} // namespace
} // namespace e2e
