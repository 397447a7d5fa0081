#include "news/NewsDataModel.h"

#include <algorithm>

#include "app/UIThreadWindow.h"
#include "app/base/ComApartment.h"
#include "app/base/SimpleBind.h"
#include "app/base/SmartLogger.h"
#include "net/DownloadToFile.h"
#include "net/HttpService.h"
#include "net/HttpTaskDeletor.h"
#include "net/ServiceHosts.h"
#include "news/INewsView.h"
#include "news/NewsParse.h"

namespace {

// A headline picture is a few hundred kilobytes; a longer body is no picture of ours.
constexpr uint64_t kPictureMaxBytes = 4 * 1024 * 1024;

// Gone already counts as deleted.
bool DeletePicture(const std::wstring& file) {
    return ::DeleteFileW(file.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

} // namespace

CNewsDataModel::CNewsDataModel(INewsView* view, CHttpService* http, std::wstring wallpaperBase,
                               std::wstring pictureFolder)
    : m_view(view), m_http(http), m_wallpaperBase(std::move(wallpaperBase)), m_pictureFolder(std::move(pictureFolder)) {
}

CNewsDataModel::CNewsDataModel()
    : CNewsDataModel(nullptr, CHttpService::GetInstance(), CServiceHosts::GetInstance()->Wallpaper(), std::wstring()) {}

CNewsDataModel::~CNewsDataModel() {
    Shutdown();
}

void CNewsDataModel::RequestNews() {
    if (!m_task) {
        IHttpTask* task = m_http ? m_http->CreateTask() : nullptr;
        if (!task) {
            WriteLog(L"[tid:%d] news: no HTTP task", ::GetCurrentThreadId());
            return;
        }
        m_task.reset(task, HttpTaskDeletor());
        m_task->SetCallback(this);
    }
    const std::wstring url = m_wallpaperBase + kNewsPath;
    if (!m_task->Start(0, url.c_str())) {
        WriteLog(L"[tid:%d] news: request not started: %s", ::GetCurrentThreadId(), url.c_str());
    }
}

void STDMETHODCALLTYPE CNewsDataModel::OnHttpTask(IHttpTask* task, HTTP_INFO* info) {
    if (!info || !task || task != m_task.get() || info->state < kHttpTaskFinished) {
        return;
    }
    // The body lives only during this call, and the UI thread parses it while this thread waits.
    const HttpAnswer answer{info->state, info->statusCode,
                            info->body ? std::string_view(info->body, info->bodyLength) : std::string_view()};
    mf_bind_t_1<CNewsDataModel, const HttpAnswer&> parse(this, &CNewsDataModel::ParseNews, answer);
    if (!RunOnUIThread(&parse)) {
        WriteLog(L"[tid:%d] news: no UI thread for the answer", ::GetCurrentThreadId());
    }
}

void CNewsDataModel::ParseNews(const HttpAnswer& answer) {
    std::vector<NewsItem> items;
    if (!::ParseNews(answer, items)) {
        WriteLog(L"[tid:%d] news: answer ignored, state %u status %u", ::GetCurrentThreadId(), answer.state,
                 answer.statusCode);
        return;
    }
    for (const NewsItem& old : m_items) {
        if (!old.pictureFile.empty()) {
            m_retired.push_back(old.pictureFile);
        }
    }
    m_items = std::move(items);
    if (m_view) {
        m_view->SetNewsList(m_items);
    }
    DeleteRetiredPictures();
    for (const NewsItem& item : m_items) {
        if (item.NeedsPicture()) {
            StartPictureDownload(item.src);
        }
    }
}

void CNewsDataModel::DeleteRetiredPictures() {
    const std::wstring shown = m_view ? m_view->GetShownPicture() : std::wstring();
    std::erase_if(m_retired, [&](const std::wstring& file) { return file != shown && DeletePicture(file); });
}

std::wstring CNewsDataModel::NewPictureFile() const {
    std::wstring folder = m_pictureFolder;
    if (folder.empty()) {
        wchar_t temp[MAX_PATH] = {};
        if (!::GetTempPathW(MAX_PATH, temp)) {
            return std::wstring();
        }
        folder = temp;
    }
    wchar_t name[MAX_PATH] = {};
    return ::GetTempFileNameW(folder.c_str(), L"nws", 0, name) ? std::wstring(name) : std::wstring();
}

void CNewsDataModel::StartPictureDownload(const std::wstring& src) {
    const std::wstring file = NewPictureFile();
    if (file.empty()) {
        WriteLog(L"[tid:%d] news: no temporary file, error %u", ::GetCurrentThreadId(), ::GetLastError());
        return;
    }
    auto* job = new PictureJob{this, src, file, false};
    if (!m_threads.StartThread(&CNewsDataModel::FetchNewsPicture, job, nullptr, false, nullptr)) {
        WriteLog(L"[tid:%d] news: picture download not started: %s", ::GetCurrentThreadId(), src.c_str());
        DeletePicture(file);
        delete job;
        return;
    }
    m_pending.push_back(file);
}

unsigned __stdcall CNewsDataModel::FetchNewsPicture(void* param) {
    std::unique_ptr<PictureJob> job(static_cast<PictureJob*>(param));
    CComApartment com;
    job->downloaded = !DownloadToFile(job->src, job->file, kPictureMaxBytes).empty();
    mf_bind_t_1<CNewsDataModel, const PictureJob&> take(job->model, &CNewsDataModel::TakePicture, *job);
    if (!RunOnUIThread(&take)) {
        // Without a UI thread the process is ending and nobody will show the picture.
        DeletePicture(job->file);
    }
    return 0;
}

void CNewsDataModel::TakePicture(const PictureJob& job) {
    std::erase(m_pending, job.file);
    // The first item still waiting for this picture: a late picture of a replaced list goes to the new list's
    // item with the same address, or nowhere, and a second download of one address finds its item served.
    auto waiting = std::find_if(m_items.begin(), m_items.end(),
                                [&](const NewsItem& item) { return item.src == job.src && item.pictureFile.empty(); });
    if (!job.downloaded || waiting == m_items.end()) {
        DeletePicture(job.file);
        return;
    }
    waiting->pictureFile = job.file;
    if (m_view) {
        m_view->SetNewsPicture(static_cast<size_t>(waiting - m_items.begin()), job.file);
    }
}

void CNewsDataModel::Shutdown() {
    m_task.reset();
    // A worker may be waiting for this thread, so the wait is bounded.
    m_threads.StopAll(1000, true);
    for (NewsItem& item : m_items) {
        if (!item.pictureFile.empty()) {
            m_retired.push_back(item.pictureFile);
            item.pictureFile.clear();
        }
    }
    m_retired.insert(m_retired.end(), m_pending.begin(), m_pending.end());
    m_pending.clear();
    std::erase_if(m_retired, DeletePicture);
}
