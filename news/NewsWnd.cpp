#include "news/NewsWnd.h"

#include "app/SystemUtils.h"
#include "app/base/SmartLogger.h"
#include "layer/LayerButtonCtrl.h"
#include "layer/LayerCheckboxCtrl.h"
#include "layer/LayerControlFactory.h"
#include "layer/LayerImageCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "layer/SkinRegistry.h"
#include "news/NewsDataModel.h"

namespace {

// Skin fonts.
constexpr int kFontTitle = 1007;
constexpr int kFontCaption = 1009;

// Skin images.
constexpr int kImageClose = 1033;
constexpr int kImageLock = 1034;
constexpr int kImageUnlock = 1035;
constexpr int kImageBody = 1071;
constexpr int kImageFrame = 1072;
constexpr int kImageTitleStrip = 1073;
constexpr int kImageDot = 1074;
constexpr int kImageCaptionBack = 1075;

constexpr COLORREF kWhite = 0xFFFFFF;
// Centred both ways on one line.
constexpr UINT kCentredLine = 0x1011;

CLayerControlGroup* AddGroup(CLayerControlGroup* parent, HWND hwnd, ILayerWindow* window, int x, int y, int cx, int cy,
                             int image) {
    auto* group = AddControl<CLayerControlGroup>(parent, hwnd, window, -1, x, y, cx, cy);
    group->SetBackgroundImage(GetImage(image));
    return group;
}

CLayerButtonCtrl* AddButton(CLayerControlGroup* parent, HWND hwnd, ILayerWindow* window, int id, int x, int y, int cx,
                            int cy, int image, const wchar_t* tip) {
    auto* button = AddControl<CLayerButtonCtrl>(parent, hwnd, window, id, x, y, cx, cy);
    button->SetImage(GetImage(image), FALSE);
    if (tip) {
        button->SetToolTip(tip);
        button->EnableToolTip(TRUE);
    }
    return button;
}

} // namespace

CNewsWnd::CNewsWnd() : m_widget(*this, *this, kWidgetNews, L"news", kWidth) {}

void CNewsWnd::OnLayerCreate() {
    SetLayerSize(kWidth, kHeight);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    AllowWindowMessage(WM_COPYDATA);
    // The widget moves itself from its own mouse hooks, so it can save where it went and honour the lock.
    SetDragByBackground(FALSE);
    BuildLayout();
    ShowLockState(m_widget.RestoreDragLock());
    CNewsDataModel::GetInstance()->SetView(this);
}

void CNewsWnd::OnLayerDestroy() {
    // The window goes with the main window at the end: the model's workers stop and its pictures go.
    CNewsDataModel* model = CNewsDataModel::GetInstance();
    model->SetView(nullptr);
    model->Shutdown();
}

void CNewsWnd::BuildLayout() {
    CLayerControlRootView* root = GetRootView();
    HWND hwnd = m_hWnd;
    m_frame = AddPicture(root, hwnd, this, 0, 0, kWidth, kHeight, kImageFrame);
    m_body = AddPicture(root, hwnd, this, 0, 24, kWidth, 240, kImageBody);

    m_titleStrip = AddGroup(root, hwnd, this, 14, 13, 272, 24, kImageTitleStrip);
    m_lock = AddButton(m_titleStrip, hwnd, this, kLockId, 10, 5, 15, 13, kImageLock, L"锁定");
    m_unlock = AddButton(m_titleStrip, hwnd, this, kUnlockId, 10, 5, 15, 13, kImageUnlock, L"解锁");
    CLayerLabelCtrl* caption = AddLabel(m_titleStrip, hwnd, this, 105, 0, 75, 24, kFontCaption, kWhite);
    caption->SetTextFormat(kCentredLine);
    caption->SetText(L"今日头条", FALSE);
    AddButton(m_titleStrip, hwnd, this, kCloseId, 250, 6, 11, 11, kImageClose, nullptr);

    m_picture = AddControl<CLayerImageCtrl>(root, hwnd, this, kPictureId, 14, 37, 272, 212);
    m_picture->SetDrawMode(CLayerImageCtrl::kDrawFrame);
    m_picture->SetFrameIndex(0, FALSE);
    m_picture->SetInteractive(TRUE);
    m_picture->SetDragThrough(FALSE);
    m_picture->SetCursor(::LoadCursorW(nullptr, IDC_HAND));

    const std::array<NewsDot, kNewsDotCount> dots = NewsDotPlacement(kNewsDotCount);
    for (int i = 0; i < kNewsDotCount; ++i) {
        m_dots[i] = AddControl<CLayerCheckboxCtrl>(root, hwnd, this, kFirstDotId + i, dots[i].x, kNewsDotTop,
                                                   kNewsDotSize, kNewsDotSize);
        m_dots[i]->SetImage(GetImage(kImageDot), FALSE);
        m_dots[i]->SetToggleOnClick(false);
        m_dots[i]->SetVisible(FALSE, FALSE);
    }

    CLayerControlGroup* captionBack = AddGroup(root, hwnd, this, 16, 213, 272, 32, kImageCaptionBack);
    m_title = AddLabel(captionBack, hwnd, this, 0, 0, 272, 32, kFontTitle, kWhite);
    m_title->SetTextFormat(kCentredLine);
    OnWidgetHover(false);
}

void CNewsWnd::OnWidgetHover(bool inside) {
    m_frame->SetVisible(inside, FALSE);
    m_titleStrip->SetVisible(inside, FALSE);
    m_body->SetVisible(!inside, FALSE);
    InvalidateRect(nullptr, TRUE);
}

void CNewsWnd::ShowLockState(bool locked) {
    m_lock->SetVisible(!locked, FALSE);
    m_unlock->SetVisible(locked, FALSE);
    InvalidateRect(nullptr, TRUE);
}

bool CNewsWnd::CreateWidgetWindow(HWND owner) {
    RECT rect{0, 0, kWidth, kHeight};
    return IsWindow() || Create(owner, &rect);
}

void CNewsWnd::OnWidgetShowing() {
    CNewsDataModel::GetInstance()->RequestNews();
    KillTimer(kRefreshTimer);
    SetTimer(kRefreshTimer, kRefreshMs);
}

void CNewsWnd::OnWidgetHiding() {
    // The rotation goes on: a shown-again widget carries on where the carousel is.
    KillTimer(kRefreshTimer);
}

void CNewsWnd::SetNewsList(const std::vector<NewsItem>& items) {
    KillTimer(kRotateTimer);
    if (items.empty()) {
        // The last headlines stay on screen, still.
        return;
    }
    m_items = items;
    const std::array<NewsDot, kNewsDotCount> dots = NewsDotPlacement(m_items.size());
    for (int i = 0; i < kNewsDotCount; ++i) {
        m_dots[i]->SetBounds(dots[i].x, kNewsDotTop, kNewsDotSize, kNewsDotSize, FALSE);
        m_dots[i]->SetVisible(dots[i].visible, FALSE);
    }
    if (NewsRotates(m_items.size())) {
        SetTimer(kRotateTimer, kRotateMs);
    }
    ShowNewsItem(0);
}

void CNewsWnd::ShowNewsItem(size_t index) {
    if (index >= m_items.size()) {
        return;
    }
    m_current = index;
    for (int i = 0; i < kNewsDotCount; ++i) {
        m_dots[i]->SetCheck(static_cast<size_t>(i) == index, FALSE);
    }
    const NewsItem& item = m_items[index];
    m_title->SetText(item.title, FALSE);
    // Without a picture of its own (not there yet, or not a picture) the item shows the one before.
    if (!item.pictureFile.empty()) {
        m_picture->ReplaceImageFile(item.pictureFile, FALSE);
    }
    InvalidateRect(nullptr, TRUE);
}

void CNewsWnd::SetNewsPicture(size_t index, const std::wstring& path) {
    if (index >= m_items.size()) {
        return;
    }
    m_items[index].pictureFile = path;
    if (index == m_current && m_picture->ReplaceImageFile(path, FALSE)) {
        InvalidateRect(nullptr, TRUE);
    }
}

std::wstring CNewsWnd::GetShownPicture() {
    return m_picture && m_picture->HasFileImage() ? m_picture->GetImageFile() : std::wstring();
}

void CNewsWnd::OpenCurrentLink() {
    if (m_current >= m_items.size() || m_items[m_current].url.empty()) {
        return;
    }
    if (!OpenUrl(m_items[m_current].url.c_str())) {
        WriteLog(L"[tid:%d] news: cannot open %s", ::GetCurrentThreadId(), m_items[m_current].url.c_str());
    }
}

BOOL CNewsWnd::PushFrame(HDC screen, POINT* dest, SIZE* size, HDC source, BLENDFUNCTION* blend, const RECT* dirty) {
    const BOOL pushed = CLayerWindowBase<CNewsWnd>::PushFrame(screen, dest, size, source, blend, dirty);
    if (pushed && !m_titleFrameLogged && !m_title->GetText().empty()) {
        m_titleFrameLogged = true;
        WriteLog(L"[tid:%d] news first frame with a title", ::GetCurrentThreadId());
    }
    if (pushed && !m_pictureFrameLogged && m_picture->HasFileImage()) {
        m_pictureFrameLogged = true;
        WriteLog(L"[tid:%d] news first frame with a picture", ::GetCurrentThreadId());
    }
    return pushed;
}

void CNewsWnd::OnLayerTimer(UINT id) {
    if (id == kRotateTimer) {
        ShowNewsItem(NextNewsIndex(m_current, m_items.size()));
    } else if (id == kRefreshTimer) {
        CNewsDataModel::GetInstance()->RequestNews();
    }
}

LRESULT CNewsWnd::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&) {
    const int id = LOWORD(wParam);
    switch (id) {
    case kLockId:
    case kUnlockId:
        m_widget.SetDragLock(id == kLockId);
        ShowLockState(id == kLockId);
        break;
    case kCloseId:
        m_widget.Close();
        break;
    case kPictureId:
        OpenCurrentLink();
        break;
    default:
        if (id >= kFirstDotId && id < kFirstDotId + kNewsDotCount) {
            ShowNewsItem(static_cast<size_t>(id - kFirstDotId));
        }
        break;
    }
    return 0;
}
