#pragma once

#include "app/base/ScopedHandle.h"
#include "app/base/SingletonT.h"
#include "app/base/IHttpTask.h"

#include <string>

// The program's door to the HTTP task library "VexaNetUL.dll": finds it beside the executable (or in
// "wallpaperhelper"), loads it only when it passes the trusted-file test, and hands out tasks.
// Init and Shutdown run on the UI thread at start-up and teardown.
class CHttpService : public CSingletonT<CHttpService> {
public:
    CHttpService() = default;
    ~CHttpService();

    // True once the library file was found and trusted, even when loading it failed: a missing
    // manager only makes every CreateTask return null.
    bool Init();
    // The same, looking in the given folder instead of the executable's.
    bool InitFromFolder(const std::wstring& folder);
    void Shutdown();

    // The services' answers are a few kilobytes: a body past this is not one, and reading it on (an endless or
    // huge body) would only hold memory and the transfer. A download of a file sets its own bound.
    static constexpr int kAnswerMaxBytes = 1024 * 1024;

    // A new task with "ungzip" and "gzip" off and bodies bounded by kAnswerMaxBytes, owned by the caller; null
    // without the library.
    IHttpTask* CreateTask();

    bool IsInitialised() const { return m_initialised; }

private:
    CModule m_module;
    PFN_HttpInit m_httpInit = nullptr;
    PFN_HttpUninit m_httpUninit = nullptr;
    IHttpManager* m_manager = nullptr;
    bool m_initialised = false;
};
