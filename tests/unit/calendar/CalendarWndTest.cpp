#include <gtest/gtest.h>

#include <windows.h>

#include "calendar/CalendarClock.h"
#include "calendar/CalendarWnd.h"
#include "layer/LayerCalendarItemCtrl.h"
#include "unit/calendar/PumpMessages.h"
#include "unit/WidgetTest.h"

namespace {

using CalendarWndTest = CWidgetTest;

const CLayerCalendarItemCtrl* Cell(int i) {
    return CCalendarWnd::GetInstance()->GetCell(i);
}

// Today, the colours by month and weekday, and the holiday file's badges and terms applied at once. The date
// change, the badges on screen and the selection's look are checked end to end, which term wins natively.
TEST_F(CalendarWndTest, ShowsTodaysMonthWithItsColoursBadgesAndTerms) {
    // The window of this process, with the clock under the test's control; the test thread is its UI thread.
    struct CFakeClock {
        CFakeClock() {
            SetCalendarClockSource([] { return CalendarDate{2024, 5, 15}; });
        }
        ~CFakeClock() {
            CCalendarWnd::GetInstance()->Show(false);
            SetCalendarClockSource(nullptr);
        }
    } clock;
    CCalendarWnd* wnd = CCalendarWnd::GetInstance();
    wnd->Show(true);
    ASSERT_TRUE(wnd->IsWindow());
    // 1 May 2024 is a Wednesday: two April days lead, so the 15th is cell 16.
    ASSERT_TRUE(PumpUntil([] { return Cell(16) && Cell(16)->IsSelected() && Cell(16)->GetMainText() == L"15"; }, 5000));
    int selected = 0;
    for (int i = 0; i < 42; ++i) {
        selected += Cell(i)->IsSelected() ? 1 : 0;
    }
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(Cell(0)->GetMainText(), L"29");
    EXPECT_FALSE(Cell(0)->IsInCurrentMonth());
    EXPECT_EQ(Cell(0)->GetMainTextColor(), 0x9D9D9Du);
    EXPECT_EQ(Cell(2)->GetMainTextColor(), 0xFFFFFFu);
    EXPECT_EQ(Cell(5)->GetMainTextColor(), 0x6071F2u) << "Saturday";
    EXPECT_EQ(Cell(16)->GetSubTextColor(), 0xFFFFFFu);
    EXPECT_EQ(Cell(2)->GetSubText(), L"劳动节");

    wnd->SetHolidayDays({{L"2024-5-1", 1}, {L"2024-5-11", 1}}, {{L"2024-5-11", 1}});
    EXPECT_EQ(Cell(2)->GetBadge(), CLayerCalendarItemCtrl::kBadgeRest);
    EXPECT_EQ(Cell(12)->GetBadge(), CLayerCalendarItemCtrl::kBadgeWork);
    EXPECT_EQ(Cell(13)->GetBadge(), CLayerCalendarItemCtrl::kBadgeNone);
    wnd->SetSolarTermNames({{L"2024-5-21", L"小满日"}}, L"2024");
    EXPECT_EQ(Cell(22)->GetSubText(), L"小满日");
}

} // namespace
