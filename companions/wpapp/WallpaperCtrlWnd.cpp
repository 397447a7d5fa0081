#include "companions/wpapp/WallpaperCtrlWnd.h"

#include "app/base/ScopedHandle.h"
#include "companions/wpapp/CommandLineArgs.h"
#include "companions/wpapp/WpappLog.h"

#include <cwchar>

CWallpaperCtrlWnd::~CWallpaperCtrlWnd() {
    DestroyWindow();
}

bool CWallpaperCtrlWnd::CreateHidden() {
    RECT place = {0, 0, 1, 1};
    if (!Create(nullptr, &place, L"")) {
        WpappLog(L"cannot create the control window (error %lu)", ::GetLastError());
        return false;
    }
    return true;
}

void CWallpaperCtrlWnd::Execute(const WpappOptions& options) {
    if (options.quit) {
        PostMessage(WM_CLOSE);
        return;
    }
    if (options.hasChannel) {
        WriteChannel(options.channel);
    }
    if (options.open) {
        WpappLog(L"opensuperwp: opening the wallpaper application, its bars shown");
    }
    if (options.hideBars) {
        m_switchBar.Show(m_hWnd, false);
        m_fence.Show(m_hWnd, false);
    }
    if (options.showSwitchBar) {
        m_switchBar.Show(m_hWnd, true);
    }
    if (options.showFence) {
        m_fence.Show(m_hWnd, true);
    }
    if (!options.passOn.empty()) {
        LaunchDeskling(options.passOn);
    }
}

// The sender is released at once; its command runs from the queue, so a slow deskling start never
// holds the process that forwarded it.
LRESULT CWallpaperCtrlWnd::OnCopyData(HWND, const COPYDATASTRUCT* data) {
    if (!data || data->dwData != kCommandTag) {
        return FALSE;
    }
    std::wstring text;
    if (data->lpData) {
        const auto* chars = static_cast<const wchar_t*>(data->lpData);
        text.assign(chars, wcsnlen(chars, data->cbData / sizeof(wchar_t)));
    }
    m_pending.push_back(ParseWpappOptions(ArgumentsOf(text.c_str())));
    PostMessage(kExecutePending);
    return TRUE;
}

LRESULT CWallpaperCtrlWnd::OnExecutePending(UINT, WPARAM, LPARAM, BOOL&) {
    while (!m_pending.empty() && IsWindow()) {
        WpappOptions options = std::move(m_pending.front());
        m_pending.pop_front();
        Execute(options);
    }
    return 0;
}

void CWallpaperCtrlWnd::OnClose() {
    DestroyWindow();
}

LRESULT CWallpaperCtrlWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
    ::PostQuitMessage(0);
    return 0;
}

bool CWallpaperCtrlWnd::WriteChannel(const std::wstring& channel) {
    CRegKey key;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\VexaWallPaper", 0, nullptr, 0, KEY_SET_VALUE,
                                       nullptr, key.Receive(), nullptr);
    if (status == ERROR_SUCCESS) {
        DWORD bytes = static_cast<DWORD>((channel.size() + 1) * sizeof(wchar_t));
        status = ::RegSetValueExW(key.Get(), L"PID", 0, REG_SZ, reinterpret_cast<const BYTE*>(channel.c_str()), bytes);
    }
    if (status != ERROR_SUCCESS) {
        WpappLog(L"cannot write the channel id (error %ld)", static_cast<long>(status));
        return false;
    }
    return true;
}

bool CWallpaperCtrlWnd::LaunchDeskling(const std::vector<std::wstring>& switches) const {
    std::wstring exe = m_folder + L"\\deskling.exe";
    std::wstring commandLine = L"\"" + exe + L"\" " + JoinCommandLine(switches);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, m_folder.c_str(),
                          &startup, &started)) {
        WpappLog(L"cannot start %s (error %lu)", commandLine.c_str(), ::GetLastError());
        return false;
    }
    CKernelHandle process(started.hProcess);
    CKernelHandle thread(started.hThread);
    WpappLog(L"started %s", commandLine.c_str());
    return true;
}
