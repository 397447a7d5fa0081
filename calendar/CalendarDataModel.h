#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/base/DHCriticalSection.h"
#include "app/base/SingletonT.h"
#include "app/ThreadMgr.h"
#include "calendar/CalendarMonth.h"
#include "calendar/HolidayData.h"
#include "calendar/ICalendarView.h"
#include "app/base/IHttpTask.h"

class CIniSettings;
class CHttpService;

// The calendar's model: builds today's month on a worker, reads the holiday file and fetches a new one
// at most once a week. Driven by the window: RefreshCalendar on every show and every change of day. The
// process's model is handed its view by the calendar window when that window is created.
class CCalendarDataModel : public IHttpTaskCallback, public CSingletonT<CCalendarDataModel> {
    friend class CSingletonT<CCalendarDataModel>;

public:
    static constexpr const wchar_t* kHolidayFile = L"holiday.db";
    static constexpr const wchar_t* kHolidayTempFile = L"holiday_temp.db";
    static constexpr const wchar_t* kHolidayPath = L"/pc/other/holiday.db";
    // The largest file ReadWholeFile takes (5 MiB less a byte); a longer download is cut off and refused.
    static constexpr int kHolidayMaxBytes = 5 * 1024 * 1024 - 1;

    // A model with its own view, settings, data folder, HTTP service and static-file host (tests).
    CCalendarDataModel(ICalendarView* view, CIniSettings* settings, std::wstring dataFolder, CHttpService* http,
                       std::wstring staticBase);
    virtual ~CCalendarDataModel();

    // UI thread, before the first refresh: the view the data go to.
    void SetView(ICalendarView* view) { m_view = view; }
    // UI thread: starts a month build, loads the holiday file and downloads a new one when due.
    void RefreshCalendar();
    // Worker thread: today's grid, handed to the view under the grid lock.
    void BuildMonthGrid();
    // UI thread: reads holiday.db into the held data and hands it to the view; a missing or
    // unreadable file changes nothing.
    void LoadHolidayFile();
    // UI thread: starts fetching the holiday file into holiday_temp.db.
    void DownloadHolidayFile();

    void STDMETHODCALLTYPE OnHttpTask(IHttpTask* task, HTTP_INFO* info) override;

    const HolidayData& GetHolidayData() const { return m_holiday; }
    // The static-file host ("http://host[:port]", no trailing slash) the holiday file comes from.
    void SetStaticBase(const std::wstring& base) { m_staticBase = base; }

private:
    CCalendarDataModel();

    static unsigned __stdcall BuildThread(void* model);
    std::wstring FolderFile(const wchar_t* name) const;

    CThreadMgr m_threads;
    CalendarMonth m_month;
    CDHCriticalSection m_monthLock;
    std::shared_ptr<IHttpTask> m_task;
    HolidayData m_holiday;

    ICalendarView* m_view = nullptr;
    CIniSettings* m_settings = nullptr;
    // Empty: the application's data folder, asked each time since it is created on demand.
    std::wstring m_dataFolder;
    CHttpService* m_http = nullptr;
    std::wstring m_staticBase;
};
