#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "app/AppContext.h"
#include "app/UIThreadWindow.h"
#include "calendar/CalendarClock.h"
#include "calendar/CalendarWnd.h"
#include "layer/LayerCalendarItemCtrl.h"
#include "layer/SkinRegistry.h"
#include "unit/app/ScratchFolder.h"
#include "unit/calendar/PumpMessages.h"
#include "unit/layer/SkinTestSupport.h"

namespace {

CalendarDate g_today{2024, 5, 15};

CalendarDate FakeToday() {
    return g_today;
}

// The calendar window of this process, shown with the clock under the test's
// control. The test thread is its UI thread.
class CalendarWndTest : public CGdiplusTest {
protected:
    void SetUp() override {
        CGdiplusTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        static CScratchFolder data(L"calendar-wnd");
        CAppContext::GetInstance()->SetDataFolderBase(data.Path());
        m_resources = OpenDesklingResources();
        ASSERT_TRUE(m_resources);
        Skin()->SetResourceModule(m_resources.Get());
        Skin()->RegisterSkin(InstalledTrueTypeFace());
        ASSERT_TRUE(CUIThreadWindow::GetInstance()->Create());
        SetCalendarClockSource(&FakeToday);
    }
    void TearDown() override {
        CCalendarWnd::GetInstance()->Show(false);
        SetCalendarClockSource(nullptr);
    }

    static CCalendarWnd* Wnd() { return CCalendarWnd::GetInstance(); }
    static const CLayerCalendarItemCtrl* Cell(int i) { return Wnd()->GetCell(i); }

    static bool ShowsToday(int index, const wchar_t* day) {
        return Cell(index) && Cell(index)->IsSelected() && Cell(index)->GetMainText() == day;
    }

    CModule m_resources;
};

TEST_F(CalendarWndTest, ShowsTodaysMonthAndFollowsTheDateWhenTheDayChanges) {
    g_today = CalendarDate{2024, 5, 15};
    Wnd()->Show(true);
    ASSERT_TRUE(Wnd()->IsWindow());
    // 1 May 2024 is a Wednesday: two April days lead, so the 15th is cell 16.
    ASSERT_TRUE(PumpUntil([] { return ShowsToday(16, L"15"); }, 5000));
    EXPECT_EQ(Cell(0)->GetMainText(), L"29");
    EXPECT_EQ(Cell(0)->GetMainTextColor(), 0x9D9D9Du);
    EXPECT_FALSE(Cell(0)->IsInCurrentMonth());
    EXPECT_EQ(Cell(2)->GetMainTextColor(), 0xFFFFFFu);
    EXPECT_EQ(Cell(5)->GetMainTextColor(), 0x6071F2u) << "Saturday";
    EXPECT_EQ(Cell(2)->GetSubText(), L"劳动节");
    EXPECT_EQ(Cell(16)->GetMainTextColor(), 0xFFFFFFu);
    EXPECT_EQ(Cell(16)->GetSubTextColor(), 0xFFFFFFu);
    int selected = 0;
    for (int i = 0; i < 42; ++i) {
        selected += Cell(i)->IsSelected() ? 1 : 0;
    }
    EXPECT_EQ(selected, 1);

    // The once-a-second check sees the new day and the grid moves to June (1 June
    // 2024 is a Saturday).
    g_today = CalendarDate{2024, 6, 1};
    ASSERT_TRUE(PumpUntil([] { return ShowsToday(5, L"1"); }, 5000));
    EXPECT_FALSE(Cell(16)->IsSelected());
    EXPECT_EQ(Cell(0)->GetMainText(), L"27");
}

TEST_F(CalendarWndTest, HolidayDataBadgesAndTermsApplyAtOnce) {
    g_today = CalendarDate{2024, 5, 15};
    Wnd()->Show(true);
    ASSERT_TRUE(PumpUntil([] { return ShowsToday(16, L"15"); }, 5000));
    Wnd()->SetHolidayDays({{L"2024-5-1", 1}, {L"2024-5-11", 1}}, {{L"2024-5-11", 1}});
    EXPECT_EQ(Cell(2)->GetBadge(), CLayerCalendarItemCtrl::kBadgeRest);
    EXPECT_EQ(Cell(12)->GetBadge(), CLayerCalendarItemCtrl::kBadgeWork);
    EXPECT_EQ(Cell(13)->GetBadge(), CLayerCalendarItemCtrl::kBadgeNone);
    Wnd()->SetSolarTermNames({{L"2024-5-21", L"小满日"}}, L"2024");
    EXPECT_EQ(Cell(22)->GetSubText(), L"小满日");
    EXPECT_EQ(Cell(6)->GetSubText(), L"廿七") << "the engine's 立夏 is not shown in the file's year";
    Wnd()->SetSolarTermNames({}, L"");
    EXPECT_EQ(Cell(6)->GetSubText(), L"立夏");
}

} // namespace
