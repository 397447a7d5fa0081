// Vexawpapp.exe: the wallpaper-application companion that deskling.exe runs beside. It provides what
// deskling looks for in the wallpaper application: the hidden control window of class
// "VexaWallPaperCtrlCls" (deskling ends within a second of its disappearance), the channel id under
// HKCU\Software\VexaWallPaper (value PID, REG_SZ), and the desktop bars of class "VexaDirectUICls"
// titled "VexaDirectUICls_SwitchBar" and "VexaDTFence"; and it opens widgets the way the wallpaper
// application does, by starting deskling.exe from its own folder with switches.
//
// Usage: Vexawpapp.exe [argument]...
//   opensuperwp      open the wallpaper application: show both bars
//   /switchbar       show the bar "VexaDirectUICls_SwitchBar"
//   /fence           show the bar "VexaDTFence"
//   /hidebars        hide both bars (before any bar of the same command is shown)
//   /channel=<id>    write <id> as the channel id (the first run writes "1001" when none is given)
//   /quit            end the running companion
//   anything else    passed on, in order, to a new "deskling.exe" started from this folder
//
// Examples: "Vexawpapp.exe /weather /calendar" runs the companion and opens two widgets; a later
// "Vexawpapp.exe /news" while it runs makes the running companion start deskling.exe with "/news";
// "Vexawpapp.exe /quit" ends it.
//
// The first run keeps running until it is asked to quit ("/quit" from a later run, or WM_CLOSE to the
// control window); exit code 0. A later run hands its whole command line to the running companion
// and exits with 0 when the companion took it, 1 when it did not. "/quit" with no companion running
// exits with 0 at once. Diagnostics go to stderr.

#include <windows.h>

#include "app/base/ScopedHandle.h"
#include "app/base/WindowImpl.h"
#include "companions/wpapp/CommandLineArgs.h"
#include "companions/wpapp/WallpaperCtrlWnd.h"
#include "companions/wpapp/WpappLog.h"
#include "companions/wpapp/WpappOptions.h"

#include <string>

namespace {

constexpr wchar_t kDefaultChannel[] = L"1001";
// Held while a run decides between forwarding and becoming the companion, so two runs started
// together do not both create a control window.
constexpr wchar_t kStartGuardName[] = L"VexaWallPaperCompanionStart";

class CMutexOwnership {
public:
    explicit CMutexOwnership(HANDLE mutex) : m_mutex(mutex) {
        DWORD wait = m_mutex ? ::WaitForSingleObject(m_mutex, INFINITE) : WAIT_FAILED;
        m_owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    ~CMutexOwnership() { Release(); }
    CMutexOwnership(const CMutexOwnership&) = delete;
    CMutexOwnership& operator=(const CMutexOwnership&) = delete;

    void Release() {
        if (m_owned) {
            ::ReleaseMutex(m_mutex);
            m_owned = false;
        }
    }

private:
    HANDLE m_mutex;
    bool m_owned = false;
};

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH * 4] = {};
    DWORD length = ::GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    std::wstring folder(path, length);
    size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : folder.substr(0, slash);
}

bool ForwardToRunning(HWND running, const wchar_t* commandLine) {
    std::wstring text = commandLine;
    COPYDATASTRUCT data = {};
    data.dwData = CWallpaperCtrlWnd::kCommandTag;
    data.cbData = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    data.lpData = text.data();
    DWORD_PTR reply = FALSE;
    LRESULT sent = ::SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                         SMTO_BLOCK | SMTO_ABORTIFHUNG, 5000, &reply);
    if (!sent || reply != TRUE) {
        WpappLog(L"the running companion did not take the command (error %lu)", ::GetLastError());
        return false;
    }
    return true;
}

int RunMessageLoop() {
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) {
            return 1;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    CWindowModule::Init(instance);
    const wchar_t* commandLine = ::GetCommandLineW();
    WpappOptions options = ParseWpappOptions(ArgumentsOf(commandLine));

    CKernelHandle startGuard(::CreateMutexW(nullptr, FALSE, kStartGuardName));
    CMutexOwnership starting(startGuard.Get());
    if (HWND running = ::FindWindowW(CWallpaperCtrlWnd::GetWndClassName(), nullptr)) {
        starting.Release();
        return ForwardToRunning(running, commandLine) ? 0 : 1;
    }
    if (options.quit) {
        return 0;
    }

    // The key is in place before the window that tells deskling the application runs.
    CWallpaperCtrlWnd::WriteChannel(options.hasChannel ? options.channel : kDefaultChannel);
    options.hasChannel = false;
    CWallpaperCtrlWnd control(OwnFolder());
    if (!control.CreateHidden()) {
        return 1;
    }
    starting.Release();
    control.Execute(options);
    int exitCode = RunMessageLoop();
    CWindowModule::Term();
    return exitCode;
}
