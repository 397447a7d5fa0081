#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>
#include <memory>
#include <mutex>

#include "app/HolidayAge.h"
#include "app/IniSettings.h"
#include "app/UIThreadWindow.h"
#include "calendar/CalendarClock.h"
#include "calendar/CalendarDataModel.h"
#include "unit/app/ScratchFolder.h"
#include "unit/calendar/PumpMessages.h"
#include "unit/net/DemoServiceSuite.h"

namespace {

// Records what the model hands its window, and on which thread. The month comes from the worker; the holiday
// data come on the UI thread, which is the test thread.
class CRecordingView : public ICalendarView {
public:
    void SetMonthData(const CalendarMonth& month) override {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_month = month;
        m_monthThread = ::GetCurrentThreadId();
        ++m_months;
    }
    void SetHolidayDays(const HolidayDaySet& rest, const HolidayDaySet& work) override {
        m_rest = rest;
        m_work = work;
        m_holidayThread = ::GetCurrentThreadId();
        ++m_holidays;
    }
    void SetSolarTermNames(const SolarTermMap&, const std::wstring& year) override { m_year = year; }
    int Months() {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_months;
    }

    std::mutex m_mutex;
    CalendarMonth m_month;
    HolidayDaySet m_rest, m_work;
    std::wstring m_year;
    DWORD m_monthThread = 0, m_holidayThread = 0;
    int m_months = 0, m_holidays = 0;
};

const char kOldFile[] = R"({"rest":["2024-5-1"],"work":["2024-5-11"],"solar_terms":{"year":"2024","data":[]}})";

// The test thread is the UI thread: it owns the marshalling window and pumps while it waits.
class CalendarDataModelTest : public CDemoServiceSuite {
protected:
    void SetUp() override {
        ASSERT_TRUE(s_service->IsRunning());
        ASSERT_TRUE(s_http->IsInitialised());
        ASSERT_TRUE(m_folder.IsCreated());
        ASSERT_TRUE(CUIThreadWindow::GetInstance()->Create());
        SetCalendarClockSource([] { return CalendarDate{2024, 5, 15}; });
        ASSERT_TRUE(CScratchFolder::WriteFileText(m_folder / L"holiday.db", kOldFile));
    }
    void TearDown() override { SetCalendarClockSource(nullptr); }

    std::unique_ptr<CCalendarDataModel> NewModel(const std::wstring& base) {
        return std::make_unique<CCalendarDataModel>(&m_view, &m_settings, m_folder.Path(), s_http.get(), base);
    }

    std::wstring Stamp() const {
        wchar_t text[64] = {};
        ::GetPrivateProfileStringW(L"calendar", L"holiday", L"", text, 64, (m_folder / L"deskling.ini").c_str());
        return text;
    }
    void SetStamp(const wchar_t* stamp) {
        ::WritePrivateProfileStringW(L"calendar", L"holiday", stamp, (m_folder / L"deskling.ini").c_str());
    }

    CScratchFolder m_folder{L"calendar-model"};
    CIniSettings m_settings{m_folder / L"deskling.ini", HKEY_CURRENT_USER, L"Software\\DesklingCalendarTest"};
    CRecordingView m_view;
};

TEST_F(CalendarDataModelTest, AFreshStampBuildsTheMonthOnAWorkerAndLoadsTheFileWithoutARequest) {
    SetStamp(FormatHolidayStamp(std::time(nullptr)).c_str());
    auto model = NewModel(s_service->Url(L""));
    model->RefreshCalendar();
    // The file is read before the call returns; the month comes later from the worker.
    EXPECT_EQ(m_view.m_holidays, 1);
    EXPECT_EQ(m_view.m_holidayThread, ::GetCurrentThreadId());
    EXPECT_EQ(m_view.m_rest, (HolidayDaySet{{L"2024-5-1", 1}}));
    EXPECT_EQ(m_view.m_year, L"2024");
    ASSERT_TRUE(PumpUntil([&] { return m_view.Months() == 1; }, 5000));
    EXPECT_NE(m_view.m_monthThread, ::GetCurrentThreadId());
    EXPECT_EQ(m_view.m_month.month * 100 + m_view.m_month.day, 515);
    ASSERT_EQ(m_view.m_month.days.size(), 42u);
    EXPECT_EQ(PackedDay(m_view.m_month.days[0].date), 29);

    PumpUntil([] { return false; }, 1500);
    EXPECT_FALSE(CScratchFolder::Exists(m_folder / L"holiday_temp.db"));

    // An unparsable or missing file keeps what was read.
    ASSERT_TRUE(CScratchFolder::WriteFileText(m_folder / L"holiday.db", "<html>"));
    model->LoadHolidayFile();
    ::DeleteFileW((m_folder / L"holiday.db").c_str());
    model->LoadHolidayFile();
    EXPECT_EQ(m_view.m_holidays, 1);
    EXPECT_EQ(model->GetHolidayData().rest, (HolidayDaySet{{L"2024-5-1", 1}}));
}

TEST_F(CalendarDataModelTest, AStaleStampDownloadsStampsCopiesAndReloadsAfterAFailureChangedNothing) {
    SetStamp(L"2020/01/01");
    auto model = NewModel(s_service->Url(L"/test/404"));
    model->RefreshCalendar();
    PumpUntil([] { return false; }, 2000);
    EXPECT_EQ(Stamp(), L"2020/01/01");
    EXPECT_EQ(CScratchFolder::ReadFileText(m_folder / L"holiday.db"), kOldFile);
    EXPECT_EQ(m_view.m_holidays, 1);

    const std::string served = s_service->Get(CCalendarDataModel::kHolidayPath);
    HolidayData expected;
    ASSERT_TRUE(ApplyHolidayFile(served, expected));
    ASSERT_FALSE(expected.rest.empty());
    model->SetStaticBase(s_service->Url(L""));
    model->RefreshCalendar();
    ASSERT_TRUE(PumpUntil([&] { return m_view.m_holidays == 3; }, 10000));
    EXPECT_EQ(m_view.m_holidayThread, ::GetCurrentThreadId());
    EXPECT_EQ(Stamp(), FormatHolidayStamp(std::time(nullptr)));
    EXPECT_EQ(CScratchFolder::ReadFileText(m_folder / L"holiday.db"), served);
    EXPECT_EQ(m_view.m_rest, expected.rest);
    EXPECT_EQ(m_view.m_work, expected.work);
    EXPECT_EQ(m_view.m_year, expected.solarTermYear);
}

// Only a download that reads completely may replace the good file and be stamped.
TEST_F(CalendarDataModelTest, AnAnswerThatIsNotACompleteHolidayFileLeavesTheFileAndItsStamp) {
    for (const wchar_t* fault : {L"trailing", L"gzip", L"slow&delay=300"}) {
        SCOPED_TRACE(fault);
        SetStamp(L"2020/01/01");
        const std::wstring temp = m_folder / L"holiday_temp.db";
        ::DeleteFileW(temp.c_str());
        auto model = NewModel(s_service->Url(L"/x?fault=") + fault + L"&path=");
        m_view.m_holidays = 0;
        model->RefreshCalendar();
        ASSERT_TRUE(PumpUntil([&] { return !CScratchFolder::ReadFileText(temp).empty(); }, 5000));
        PumpUntil([] { return false; }, 300);
        EXPECT_EQ(Stamp(), L"2020/01/01");
        EXPECT_EQ(CScratchFolder::ReadFileText(m_folder / L"holiday.db"), kOldFile);
        EXPECT_EQ(m_view.m_holidays, 1) << "loaded again";
        EXPECT_EQ(model->GetHolidayData().rest, (HolidayDaySet{{L"2024-5-1", 1}}));
    }
}

} // namespace
