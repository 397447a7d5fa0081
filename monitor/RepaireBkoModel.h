#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "app/base/IHttpTask.h"
#include "app/base/SingletonT.h"
#include "app/ThreadMgr.h"

// Installs the hardware tool: downloads its setup program into the data folder, checks our signature on
// it, runs it silently on a worker and tells the monitor's controller every step (2, 3 downloading, 4 download
// failed, 5 downloaded, 6 and 7 installing, 8 failed, 9 installed) with its percentage.
class CRepaireBkoModel : public CSingletonT<CRepaireBkoModel>, public IHttpTaskCallback {
    friend class CSingletonT<CRepaireBkoModel>;

public:
    static constexpr DWORD kSetupWaitMs = 300000;

    // Reports 9 at once when the tool is installed; refused while an installation runs.
    void StartInstall();

    // The download's reports, on the task library's threads: handed to the UI thread.
    void STDMETHODCALLTYPE OnHttpTask(IHttpTask* task, HTTP_INFO* info) override;

private:
    CRepaireBkoModel() = default;
    ~CRepaireBkoModel();

    void Report(int step, int percent);
    void OnDownload(const HTTP_INFO& info);
    void RunSetup();
    static unsigned __stdcall SetupThread(void* self);
    std::wstring DataFile(const wchar_t* name) const;

    std::shared_ptr<IHttpTask> m_task;
    // The held task as the library's threads compare it, while the UI thread may replace m_task.
    std::atomic<IHttpTask*> m_heldTask{nullptr};
    std::atomic<int> m_busyStep{0};
    CThreadMgr m_threads;
};
