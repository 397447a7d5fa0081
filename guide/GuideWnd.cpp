#include "guide/GuideWnd.h"

#include "app/IniSettings.h"
#include "app/SystemUtils.h"
#include "app/TrustedFile.h"
#include "app/base/FileSystem.h"
#include "app/base/SmartLogger.h"
#include "layer/LayerButtonCtrl.h"
#include "layer/LayerImageCtrl.h"
#include "layer/SkinRegistry.h"
#include "net/Statistic.h"

namespace {

// "Vexa壁纸", the caption the wallpaper application gives its desktop icon.
constexpr wchar_t kIconCaption[] = L"Vexa\x58C1\x7EB8";
constexpr wchar_t kWallpaperApp[] = L"Vexawpapp.exe";
// Trailing blank included: the application reads its command line as it was always sent.
constexpr wchar_t kOpenArgument[] = L"opensuperwp ";
constexpr int kCloseImage = 1076;
constexpr int kOpenImage = 1081;
constexpr int kCloseWidth = 28;
constexpr int kCloseHeight = 29;
constexpr RECT kOpenRect{102, 112, 102 + 73, 112 + 26};

void Report(const wchar_t* action) {
    CStatistic::GetInstance()->Report(L"bizhi", action);
}

} // namespace

void CGuideWnd::OnLayerCreate() {
    // Clicks choose a button; the balloon stays where it points.
    SetDragByBackground(FALSE);
    AllowWindowMessage(WM_COPYDATA);
    BuildControls();
    ShowAtIcon();
    CIniSettings::GetInstance()->SetGuideBShow(1);
}

void CGuideWnd::BuildControls() {
    CSkinRegistry* skin = Skin();
    CLayerControlRootView* root = GetRootView();

    m_background = new CLayerImageCtrl;
    m_background->Create(m_hWnd, this, 0, RECT{0, 0, kGuideWidth, kGuideHeight}, 0);
    m_background->SetDrawMode(CLayerImageCtrl::kDrawTopLeft);
    root->AddChild(m_background);

    m_close = new CLayerButtonCtrl;
    m_close->Create(m_hWnd, this, kIdClose, kGuideCloseRightX, 0, kCloseWidth, kCloseHeight, 0);
    m_close->SetImage(skin->GetImage(kCloseImage), FALSE);
    root->AddChild(m_close);

    auto* open = new CLayerButtonCtrl;
    open->Create(m_hWnd, this, kIdOpen, kOpenRect, 0);
    open->SetImage(skin->GetImage(kOpenImage), FALSE);
    root->AddChild(open);
}

void CGuideWnd::ShowAtIcon() {
    RECT icon{};
    if (!GetDesktopIconRect(kIconCaption, &icon)) {
        // Nothing to point at: the balloon is never shown, and the process must not wait for a click.
        WriteLog(L"[tid:%d] guide: no desktop icon %s, ending in %u ms", ::GetCurrentThreadId(), kIconCaption,
                 kCloseDelayMs);
        CloseLater();
        return;
    }
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // The balloon is laid out in pixels at 96 DPI and shown at the monitor's scale.
    const GuidePlacement place =
        PlaceGuide({ToLayer(icon.left), ToLayer(icon.top), ToLayer(icon.right), ToLayer(icon.bottom)},
                   {ToLayer(work.left), ToLayer(work.top), ToLayer(work.right), ToLayer(work.bottom)});
    MoveTo(place);
    ::ShowWindow(m_hWnd, SW_SHOW);
    WriteLog(L"[tid:%d] guide: shown at %d,%d with background %d beside the icon at %d,%d-%d,%d",
             ::GetCurrentThreadId(), place.position.x, place.position.y, place.background, icon.left, icon.top,
             icon.right, icon.bottom);
    Report(L"guide_show");
}

void CGuideWnd::MoveTo(const GuidePlacement& place) {
    m_background->SetImage(Skin()->GetImage(place.background), FALSE);
    m_close->SetRect(RECT{place.closeX, 0, place.closeX + kCloseWidth, kCloseHeight}, FALSE);
    ::SetWindowPos(m_hWnd, nullptr, ToScreen(place.position.x), ToScreen(place.position.y), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CGuideWnd::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    switch (LOWORD(wParam)) {
    case kIdClose:
        Report(L"guide_close");
        Dismiss();
        CloseLater();
        break;
    case kIdOpen:
        Report(L"guide_clickopen");
        Dismiss();
        LaunchWallpaperApp();
        CloseLater();
        break;
    default:
        handled = FALSE;
        break;
    }
    return 0;
}

void CGuideWnd::Dismiss() {
    ::ShowWindow(m_hWnd, SW_HIDE);
    // A hidden window gets no leave message; the button would stay hot in the last frame.
    GetRootView()->OnMouseLeave();
}

void CGuideWnd::LaunchWallpaperApp() {
    const std::wstring path = ExecutableFolder() + L"\\" + kWallpaperApp;
    if (!FileExists(path) || !IsTrustedFile(path.c_str())) {
        WriteLog(L"[tid:%d] guide: %s missing or not trusted, not started", ::GetCurrentThreadId(), path.c_str());
        return;
    }
    const bool started = LaunchProcess(nullptr, path.c_str(), kOpenArgument, SW_SHOWNORMAL, false, 0, false, false);
    WriteLog(L"[tid:%d] guide: %s %s %s", ::GetCurrentThreadId(), started ? L"started" : L"could not start",
             path.c_str(), kOpenArgument);
    Report(L"guide_clickopen");
}

void CGuideWnd::CloseLater() {
    KillTimer(kCloseTimer);
    SetTimer(kCloseTimer, kCloseDelayMs);
}

void CGuideWnd::OnLayerTimer(UINT id) {
    if (id == kCloseTimer) {
        KillTimer(kCloseTimer);
        PostMessage(WM_CLOSE, 0, 0);
    }
}

void CGuideWnd::OnClose() {
    DestroyWindow();
    ::PostQuitMessage(0);
}
