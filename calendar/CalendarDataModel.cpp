#include "calendar/CalendarDataModel.h"

#include <string>

#include "app/AppContext.h"
#include "app/DHAutoLock.h"
#include "app/IniSettings.h"
#include "app/ScopedHandle.h"
#include "app/SimpleBind.h"
#include "app/SmartLogger.h"
#include "app/UIThreadWindow.h"
#include "calendar/CalendarClock.h"
#include "net/HttpService.h"
#include "net/HttpTaskDeletor.h"

namespace {

// Files this size or larger are not holiday data.
constexpr DWORD kMaxHolidayFileBytes = 5 * 1024 * 1024;

// The whole file, or nothing when it is missing, empty or too large.
std::string ReadSmallFile(const std::wstring& path) {
    CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {};
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart >= kMaxHolidayFileBytes) {
        return {};
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
        return {};
    }
    return bytes;
}

} // namespace

CCalendarDataModel::CCalendarDataModel(ICalendarView* view, CIniSettings* settings, std::wstring dataFolder,
                                       CHttpService* http, std::wstring staticBase)
    : m_view(view), m_settings(settings), m_dataFolder(std::move(dataFolder)), m_http(http),
      m_staticBase(std::move(staticBase)) {}

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
    const std::string body = ReadSmallFile(FolderFile(kHolidayFile));
    if (body.empty() || !ApplyHolidayFile(body, m_holiday)) {
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
    if (!m_task->SetSaveFile(target.c_str()) || !m_task->Start(0, url.c_str())) {
        WriteLog(L"[tid:%d] calendar: holiday download not started: %s", ::GetCurrentThreadId(), url.c_str());
    }
}

void STDMETHODCALLTYPE CCalendarDataModel::OnHttpTask(IHttpTask* task, HTTP_INFO* info) {
    if (!info || !task || task != m_task.get() || info->state != kHttpTaskFinished) {
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
