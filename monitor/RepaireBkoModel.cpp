#include "monitor/RepaireBkoModel.h"

#include <shellapi.h>

#include "app/AppContext.h"
#include "app/base/ScopedHandle.h"
#include "app/base/SimpleBind.h"
#include "app/base/SmartLogger.h"
#include "app/TrustedFile.h"
#include "app/UIThreadWindow.h"
#include "monitor/HardwareTool.h"
#include "monitor/TempMonitorControl.h"
#include "net/HttpService.h"
#include "net/HttpTaskDeletor.h"
#include "net/ServiceHosts.h"
#include "net/Statistic.h"

namespace {

constexpr wchar_t kDownloadName[] = L"\\brakosetup_temp.exe";
constexpr wchar_t kSetupName[] = L"\\brakosetup.exe";
constexpr wchar_t kSetupPath[] = L"/brako/brakosetup.exe";

enum Step {
    kStepStarted = 2,
    kStepDownloading = 3,
    kStepDownloadFailed = 4,
    kStepDownloaded = 5,
    kStepSetupStarting = 6,
    kStepSetupRunning = 7,
    kStepFailed = 8,
    kStepInstalled = 9,
};

void Statistic(const wchar_t* action) {
    CStatistic::GetInstance()->Report(L"bizhi", action);
}

} // namespace

CRepaireBkoModel::~CRepaireBkoModel() {
    m_threads.StopAll(1000, true);
}

std::wstring CRepaireBkoModel::DataFile(const wchar_t* name) const {
    return CAppContext::GetInstance()->GetDataFolder() + name;
}

void CRepaireBkoModel::Report(int step, int percent) {
    WriteLog(L"[brako] step %d, %d%%", step, percent);
    m_busyStep = (step == kStepDownloadFailed || step == kStepFailed || step == kStepInstalled) ? 0 : step;
    PostToUIThread(new mf_bind_t_2<CTempMonitorControl, int, int>(
        CTempMonitorControl::GetInstance(), &CTempMonitorControl::OnInstallProgress, step, percent));
}

void CRepaireBkoModel::StartInstall() {
    if (IsHardwareToolInstalled()) {
        Report(kStepInstalled, 100);
        return;
    }
    if (m_busyStep != 0) {
        WriteLog(L"正在修复中，返回");
        return;
    }
    // A finished transfer is not restarted: each installation gets a task of its own.
    m_heldTask = nullptr;
    m_task.reset(CHttpService::GetInstance()->CreateTask(), HttpTaskDeletor());
    m_heldTask = m_task.get();
    const std::wstring url = CServiceHosts::GetInstance()->ToolDownload() + kSetupPath;
    if (!m_task) {
        WriteLog(L"[brako] no download task");
        Report(kStepDownloadFailed, 90);
        return;
    }
    m_task->SetCallback(this);
    m_task->SetSaveFile(DataFile(kDownloadName).c_str());
    // A program, not a service's answer: the library's own bound on a file.
    m_task->SetOption(kHttpOptionMaxBytes, 0);
    if (!m_task->Start(0, url.c_str())) {
        WriteLog(L"[brako] download not started: %s", url.c_str());
        Report(kStepDownloadFailed, 90);
        return;
    }
    Report(kStepStarted, 0);
}

void STDMETHODCALLTYPE CRepaireBkoModel::OnHttpTask(IHttpTask* task, HTTP_INFO* info) {
    if (!info || task != m_heldTask.load()) {
        return;
    }
    mf_bind_t_1<CRepaireBkoModel, const HTTP_INFO&> step(this, &CRepaireBkoModel::OnDownload, *info);
    RunOnUIThread(&step);
}

void CRepaireBkoModel::OnDownload(const HTTP_INFO& info) {
    switch (info.state) {
    case kHttpTaskStarted:
    case kHttpTaskProgress:
        Report(kStepDownloading, static_cast<int>(info.progress * 0.9));
        break;
    case kHttpTaskFinished:
        Report(kStepDownloaded, 90);
        if (!::CopyFileW(DataFile(kDownloadName).c_str(), DataFile(kSetupName).c_str(), FALSE)) {
            WriteLog(L"[brako] copy failed, error[%lu]", ::GetLastError());
            Report(kStepFailed, 90);
        } else if (!m_threads.StartThread(&CRepaireBkoModel::SetupThread, this, nullptr, false, "brako setup")) {
            Report(kStepFailed, 91);
        }
        break;
    case kHttpTaskFailed:
        Report(kStepDownloadFailed, 90);
        Statistic(L"brako_downfail");
        break;
    default:
        break;
    }
}

unsigned __stdcall CRepaireBkoModel::SetupThread(void* self) {
    static_cast<CRepaireBkoModel*>(self)->RunSetup();
    return 0;
}

void CRepaireBkoModel::RunSetup() {
    Report(kStepSetupStarting, 91);
    const std::wstring setup = DataFile(kSetupName);
    if (!IsTrustedFile(setup.c_str())) {
        WriteLog(L"没有Vexa签名，文件已损坏");
        Report(kStepFailed, 100);
        return;
    }
    SHELLEXECUTEINFOW run = {};
    run.cbSize = sizeof(run);
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    run.lpVerb = L"open";
    run.lpFile = setup.c_str();
    run.lpParameters = L"/S";
    run.nShow = SW_HIDE;
    if (!::ShellExecuteExW(&run) || !run.hProcess) {
        WriteLog(L"[brako] setup not started, error[%lu]", ::GetLastError());
        Report(kStepFailed, 91);
        return;
    }
    CKernelHandle process(run.hProcess);
    Report(kStepSetupRunning, 91);
    const DWORD waited = ::WaitForSingleObject(process.Get(), kSetupWaitMs);
    WriteLog(L"[brako] setup wait result %lu", waited);
    if (IsHardwareToolInstalled()) {
        Report(kStepInstalled, 100);
        Statistic(L"brako_sucess");
    } else {
        Report(kStepFailed, 100);
        Statistic(L"brako_fail");
    }
}
