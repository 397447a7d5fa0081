#include "calendar/CalendarDataModel.h"

#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/base/DHAutoLock.h"
#include "app/base/FileSystem.h"
#include "app/IniSettings.h"
#include "app/base/SimpleBind.h"
#include "app/base/SmartLogger.h"
#include "app/UIThreadWindow.h"
#include "calendar/CalendarClock.h"
#include "net/HttpService.h"
#include "net/HttpTaskDeletor.h"
#include "net/ServiceHosts.h"

CCalendarDataModel::CCalendarDataModel(ICalendarView* view, CIniSettings* settings, std::wstring dataFolder,
                                       CHttpService* http, std::wstring staticBase)
    : m_view(view), m_settings(settings), m_dataFolder(std::move(dataFolder)), m_http(http),
      m_staticBase(std::move(staticBase)) {}

CCalendarDataModel::CCalendarDataModel()
    : CCalendarDataModel(nullptr, CIniSettings::GetInstance(), std::wstring(), CHttpService::GetInstance(),
                         CServiceHosts::GetInstance()->StaticCdn()) {}

CCalendarDataModel::~CCalendarDataModel() {
    // A worker may be waiting for the UI thread, so the wait is bounded.
    m_threads.StopAll(1000, true);
    // No completion may arrive once the model is gone.
    m_task.reset();
}

std::wstring CCalendarDataModel::FolderFile(const wchar_t* name) const {
    const std::wstring folder = m_dataFolder.empty() ? CAppContext::GetInstance()->GetDataFolder() : m_dataFolder;
    return folder + L"\\" + name;
}

void CCalendarDataModel::RefreshCalendar() {
    if (!m_threads.StartThread(&CCalendarDataModel::BuildThread, this, nullptr, false, nullptr)) {
        WriteLog(L"[tid:%d] calendar: month build not started", ::GetCurrentThreadId());
    }
    LoadHolidayFile();
    if (m_settings->IsHolidayStale()) {
        DownloadHolidayFile();
    }
}

unsigned __stdcall CCalendarDataModel::BuildThread(void* model) {
    static_cast<CCalendarDataModel*>(model)->BuildMonthGrid();
    return 0;
}

void CCalendarDataModel::BuildMonthGrid() {
    CDHAutoLock lock(m_monthLock);
    const CalendarDate today = CalendarToday();
    m_month = BuildCalendarMonth(today.year, today.month, today.day);
    if (m_view) {
        m_view->SetMonthData(m_month);
    }
}

void CCalendarDataModel::LoadHolidayFile() {
    std::vector<char> bytes;
    if (!ReadWholeFile(FolderFile(kHolidayFile).c_str(), &bytes) ||
        !ApplyHolidayFile(std::string(bytes.begin(), bytes.end()), m_holiday)) {
        return;
    }
    if (m_view) {
        m_view->SetHolidayDays(m_holiday.rest, m_holiday.work);
        m_view->SetSolarTermNames(m_holiday.solarTerms, m_holiday.solarTermYear);
    }
}

void CCalendarDataModel::DownloadHolidayFile() {
    if (!m_task) {
        IHttpTask* task = m_http->CreateTask();
        if (!task) {
            WriteLog(L"[tid:%d] calendar: no HTTP task for the holiday file", ::GetCurrentThreadId());
            return;
        }
        m_task.reset(task, HttpTaskDeletor());
        m_task->SetCallback(this);
    }
    const std::wstring target = FolderFile(kHolidayTempFile);
    const std::wstring url = m_staticBase + kHolidayPath;
    if (!m_task->SetSaveFile(target.c_str()) || !m_task->SetOption(kHttpOptionMaxBytes, kHolidayMaxBytes) ||
        !m_task->Start(0, url.c_str())) {
        WriteLog(L"[tid:%d] calendar: holiday download not started: %s", ::GetCurrentThreadId(), url.c_str());
    }
}

void STDMETHODCALLTYPE CCalendarDataModel::OnHttpTask(IHttpTask* task, HTTP_INFO* info) {
    if (!info || !task || task != m_task.get() || info->state != kHttpTaskFinished) {
        return;
    }
    // Only a file that reads completely replaces the good one and is stamped; anything else (an error
    // text, a compressed or cut body) leaves both, so the next change of day tries again.
    std::vector<char> bytes;
    if (!ReadWholeFile(FolderFile(kHolidayTempFile).c_str(), &bytes) ||
        !IsCompleteHolidayFile(std::string(bytes.begin(), bytes.end()))) {
        WriteLog(L"[tid:%d] calendar: downloaded holiday file refused, %u bytes", ::GetCurrentThreadId(),
                 static_cast<unsigned>(bytes.size()));
        return;
    }
    // Stamped before the copy: a file that cannot be put in place is not fetched again all week.
    m_settings->MarkHolidayFresh();
    if (!::CopyFileW(FolderFile(kHolidayTempFile).c_str(), FolderFile(kHolidayFile).c_str(), FALSE)) {
        WriteLog(L"[tid:%d] calendar: holiday file not replaced, error %u", ::GetCurrentThreadId(), ::GetLastError());
        return;
    }
    mf_bind_t<CCalendarDataModel> load(this, &CCalendarDataModel::LoadHolidayFile);
    RunOnUIThread(&load);
}
