#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/ThreadMgr.h"
#include "app/base/IHttpTask.h"
#include "app/base/SingletonT.h"
#include "net/JsonAnswer.h"
#include "news/NewsItem.h"

class CHttpService;
class INewsView;

// The news model: fetches the headlines from the wallpaper host, keeps at most three, hands them to the
// window and downloads each one's picture on a worker of its own. Driven by the window: RequestNews on
// every show and every hour. The process's model is handed its view by the news window when that window is
// created.
//
// Everything but the download itself happens on the UI thread, the answer's parse included: cJSON keeps
// the last parse error in one global, so the process parses on one thread only, and with the list read
// and written there alone it needs no lock.
//
// Pictures are temporary files the model deletes itself: a picture that reaches no item at once, the
// pictures of a replaced list as soon as the window no longer shows them, and all of them at Shutdown.
class CNewsDataModel : public IHttpTaskCallback, public CSingletonT<CNewsDataModel> {
    friend class CSingletonT<CNewsDataModel>;

public:
    static constexpr const wchar_t* kNewsPath = L"/super/news.php";

    // A model with its own view, HTTP service, wallpaper host ("http://host[:port]") and folder for the
    // pictures (empty: the system's temporary folder).
    CNewsDataModel(INewsView* view, CHttpService* http, std::wstring wallpaperBase, std::wstring pictureFolder);
    virtual ~CNewsDataModel();

    // UI thread, before the first request.
    void SetView(INewsView* view) { m_view = view; }
    // UI thread: asks for the headlines; the answer arrives at OnHttpTask.
    void RequestNews();
    void STDMETHODCALLTYPE OnHttpTask(IHttpTask* task, HTTP_INFO* info) override;
    // UI thread: an answer that reads as news replaces the list, goes to the view and starts the pictures'
    // downloads; anything else leaves everything as it was.
    void ParseNews(const HttpAnswer& answer);
    // UI thread, at the end: no answer arrives any more, the workers are stopped and every picture the
    // model downloaded is deleted.
    void Shutdown();

    const std::vector<NewsItem>& GetItems() const { return m_items; }

private:
    struct PictureJob {
        CNewsDataModel* model;
        std::wstring src;
        std::wstring file;
        bool downloaded;
    };

    CNewsDataModel();

    void StartPictureDownload(const std::wstring& src);
    static unsigned __stdcall FetchNewsPicture(void* job);
    void TakePicture(const PictureJob& job);
    void DeleteRetiredPictures();
    std::wstring NewPictureFile() const;

    std::shared_ptr<IHttpTask> m_task;
    std::vector<NewsItem> m_items;
    CThreadMgr m_threads;
    // Files whose download has not been handed back yet, and pictures of replaced lists.
    std::vector<std::wstring> m_pending;
    std::vector<std::wstring> m_retired;

    INewsView* m_view = nullptr;
    CHttpService* m_http = nullptr;
    std::wstring m_wallpaperBase;
    std::wstring m_pictureFolder;
};
