#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/IniSettings.h"
#include "app/SystemUtils.h"
#include "app/VexaPublicDLLHelper.h"
#include "app/base/ComApartment.h"
#include "app/base/FileSystem.h"
#include "app/base/GdiplusSession.h"
#include "app/base/MessageLoop.h"
#include "app/base/SmartLogger.h"
#include "app/base/WindowImpl.h"
#include "app/base/WinsockSession.h"
#include "app/shell/InstanceMutex.h"
#include "app/shell/MainWnd.h"
#include "guide/GuideWnd.h"
#include "layer/FontFace.h"
#include "layer/SkinRegistry.h"
#include "net/HttpService.h"
#include "net/ServiceHosts.h"
#include "ui/UIResources.h"

namespace {

// The base library sits beside the executable, or one folder up when the program is installed
// in a subfolder of the wallpaper application.
std::wstring FindBaseLibrary() {
    const std::wstring folder = ExecutableFolder();
    const std::wstring beside = folder + L"\\Vexabase.dll";
    if (FileExists(beside)) {
        return beside;
    }
    const std::wstring parent = ParentFolder(folder);
    const std::wstring above = parent + L"\\Vexabase.dll";
    if (!parent.empty() && FileExists(above)) {
        return above;
    }
    return std::wstring();
}

// Libraries loaded by name, the system DLLs the program imports late among them (cmake/DelayImports.cmake),
// come from the system folder only, never from beside the program or the current folder: those are where a
// planted copy would wait. Our own libraries lie beside the program too, so they are loaded by full path
// after their trust test, never found by a search. Windows 7 without its loader update lacks the call and
// keeps its usual order. A program that loads this executable for its lunar interface keeps its own order.
void NTAPI RestrictLibrarySearchToSystemFolder(PVOID module, DWORD reason, PVOID) {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    if (reason != DLL_PROCESS_ATTACH || module != ::GetModuleHandleW(nullptr)) {
        return;
    }
    const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (restrict) {
        restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

// Static constructors load libraries by name before the entry point runs (the logger asks the shell for the
// roaming folder: shell32, and under Wine shcore beside it), so the restriction is the executable's first TLS
// callback, which the loader runs before the C runtime starts: .CRT$XLB sorts before the runtime's own.
__attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK g_restrictLibrarySearch =
    RestrictLibrarySearchToSystemFolder;

// Creates the window and runs the thread's message loop until the quit message; its code, or 0 when the
// window could not be created.
template <class TWindow> int RunWindow(const RECT* place) {
    // Registered before any window exists, so each window can add its message filter to it.
    CMessageLoop loop;
    CWindowModule::AddMessageLoop(&loop);
    int exitCode = 0;
    {
        TWindow window;
        if (window.Create(nullptr, place)) {
            exitCode = loop.Run();
        }
    }
    CWindowModule::RemoveMessageLoop();
    return exitCode;
}

// COM and the common controls, for a process that makes windows: only a first instance or a guide. A later
// instance, which hands its command line over and ends, needs neither: under Wine the first thread's apartment
// makes a window, which connects to the display and loads the theming.
class CWindowingSession {
public:
    CWindowingSession() {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&icc);
    }

private:
    CComApartment m_com;
    // Wine's GDI+ binds its image codecs late by name through a search that ignores the restriction above
    // and starts beside the program, and the codecs' own imports follow it there: a copy of propsys.dll
    // planted beside us ran. Loaded from the system folder first, the name finds this module instead.
    CModule m_imageCodecs = LoadSystemLibrary(L"windowscodecs.dll");
};

// What drawn windows and their reports need, started after GDI+ and stopped before it. A missing HTTP
// library is not fatal: whoever needs it finds no tasks and shows nothing new.
void StartUiServices() {
    CHttpService::GetInstance()->Init();
    CFontFace::GetInstance()->ChooseFace();
    RegisterSkin();
}

// Reverse order of start-up; the skin's images and fonts are GDI+ objects and must go first.
void StopUiServices() {
    ReleaseSkin();
    CHttpService::GetInstance()->Shutdown();
}

// The dialog toolkit's resources: the package beside the executable and the interface face. Only the city
// dialog uses them; a missing or damaged package is logged there and keeps that dialog closed.
void RegisterDialogResources() {
    CUIResources* resources = CUIResources::GetInstance();
    resources->SetResourcePath(ExecutableFolder());
    resources->SetFaceName(CFontFace::GetInstance()->GetFaceName());
    resources->SetResourcePackage(L"wpskin.ui");
}

// The one-time guide: no instance check, as several guides are harmless and each ends by itself.
void RunGuideMode() {
    if (CIniSettings::GetInstance()->GetGuideBShow() != 0) {
        WriteLog(L"[tid:%d] guide already shown, quit", ::GetCurrentThreadId());
        return;
    }
    CWindowingSession windowing;
    CGdiplusSession gdiplus;
    StartUiServices();
    const RECT place{0, 0, kGuideWidth, kGuideHeight};
    RunWindow<CGuideWnd>(&place);
    StopUiServices();
}

int RunNormalMode() {
    if (!CInstanceMutex::GetInstance()->CheckSingleInstance()) {
        WriteLog(L"[tid:%d] check singleton exists, quit. comLine:%s", ::GetCurrentThreadId(), ::GetCommandLineW());
        return 0;
    }
    WriteLog(L"[tid:%d] Started. comLine:%s", ::GetCurrentThreadId(), ::GetCommandLineW());
    CWindowingSession windowing;

    // Started before and stopped after everything that may use them: GDI+ shuts down before Winsock.
    CWinsockSession winsock;
    CGdiplusSession gdiplus;
    StartUiServices();
    RegisterDialogResources();

    const int exitCode = RunWindow<CMainWnd>(nullptr);

    StopUiServices();
    CInstanceMutex::DestroyInstance();
    return exitCode;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
    CWindowModule::Init(instance);
    // Before anything can make a request: every service address comes from "services.ini" beside us.
    const std::wstring hostsFile = ExecutableFolder() + L"\\services.ini";
    if (!CServiceHosts::GetInstance()->Load(hostsFile)) {
        WriteLog(L"[tid:%d] cannot read %s, the built-in service hosts apply", ::GetCurrentThreadId(),
                 hostsFile.c_str());
    }
    for (const std::wstring& unusable : CServiceHosts::GetInstance()->Unusable()) {
        WriteLog(L"[tid:%d] services.ini: %s; the built-in host applies", ::GetCurrentThreadId(), unusable.c_str());
    }

    int exitCode = 0;
    std::wstring startText = cmdLine ? cmdLine : L"";
    std::wstring baseLibrary = FindBaseLibrary();
    if (baseLibrary.empty()) {
        WriteLog(L"找不到Vexabase.dll， quit");
    } else if (!CVexaBaseHelper::GetInstance().Initialise(baseLibrary.c_str())) {
        WriteLog(L"init Vexabase.dll failed, quit");
    } else if (startText.find(L"/guide") != std::wstring::npos) {
        // The guide's loop result is not the process's: guide mode always ends with 0.
        RunGuideMode();
    } else {
        exitCode = RunNormalMode();
    }

    CWindowModule::Term();
    return exitCode;
}
