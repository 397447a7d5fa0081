#include "guide/MsgBox.h"

#include "app/base/SmartLogger.h"
#include "guide/CenterOnOwner.h"
#include "layer/LayerButtonCtrl.h"
#include "layer/LayerImageCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "layer/SkinRegistry.h"

namespace {

constexpr int kBackgroundImage = 1094;
constexpr int kCloseImage = 1095;
constexpr int kButtonImage = 1093;
constexpr int kTextFont = 1003;
constexpr COLORREF kTextColor = RGB(255, 255, 255);
constexpr int kCloseSize = 28;
// Left-aligned from the top and allowed to wrap: the prompt is wider than one line of its area, and two
// lines from the top leave a clear gap above the buttons, which overlap the label's lower part.
constexpr UINT kPromptFormat = 0x0000;

// "该温度插件需要配合安装Brako才可以使用，立即安装？"
constexpr wchar_t kPrompt[] = L"\x8BE5\x6E29\x5EA6\x63D2\x4EF6\x9700\x8981\x914D\x5408\x5B89\x88C5"
                              L"Brako\x624D\x53EF\x4EE5\x4F7F\x7528\xFF0C\x7ACB\x5373\x5B89\x88C5\xFF1F";
constexpr wchar_t kOkText[] = L"\x786E\x5B9A";     // 确定
constexpr wchar_t kCancelText[] = L"\x53D6\x6D88"; // 取消

} // namespace

CMsgBox::~CMsgBox() {
    // The owner object may outlive the session that showed the box; its window must not outlive it.
    if (IsWindow()) {
        DestroyWindow();
    }
}

bool CMsgBox::Show() {
    if (!IsWindow()) {
        RECT rect{0, 0, kWidth, kHeight};
        if (!Create(m_owner, &rect)) {
            WriteLog(L"[tid:%d] message box window not created (%lu)", ::GetCurrentThreadId(), ::GetLastError());
            return false;
        }
    }
    CenterOnOwner(m_hWnd, m_owner);
    ::ShowWindow(m_hWnd, SW_SHOW);
    return true;
}

void CMsgBox::Hide() {
    if (!IsWindow()) {
        return;
    }
    ::ShowWindow(m_hWnd, SW_HIDE);
    // A hidden window gets no leave message, so the button under the pointer would come back hot.
    GetRootView()->OnMouseLeave();
}

void CMsgBox::OnLayerCreate() {
    CSkinRegistry* skin = Skin();
    CLayerControlRootView* root = GetRootView();

    auto* background = new CLayerImageCtrl;
    background->Create(m_hWnd, this, 0, RECT{0, 0, kWidth, kHeight}, 0);
    background->SetDrawMode(CLayerImageCtrl::kDrawTopLeft);
    background->SetImage(skin->GetImage(kBackgroundImage), FALSE);
    root->AddChild(background);

    auto* close = new CLayerButtonCtrl;
    close->Create(m_hWnd, this, kIdClose, kWidth - kCloseSize, 0, kCloseSize, kCloseSize, 0);
    close->SetImage(skin->GetImage(kCloseImage), FALSE);
    root->AddChild(close);

    auto* prompt = new CLayerLabelCtrl;
    prompt->Create(m_hWnd, this, 0, 20, 41, 270, 60, 0);
    prompt->SetFont(skin->GetFont(kTextFont));
    prompt->SetTextFormat(kPromptFormat);
    prompt->SetTextColor(kTextColor, FALSE);
    prompt->SetText(kPrompt, FALSE);
    root->AddChild(prompt);

    struct ButtonPlace {
        int id;
        int x;
        const wchar_t* text;
    };
    for (const ButtonPlace& place : {ButtonPlace{kIdCancel, 65, kCancelText}, ButtonPlace{kIdOk, 166, kOkText}}) {
        auto* button = new CLayerButtonCtrl;
        button->Create(m_hWnd, this, place.id, place.x, 89, 79, 27, 0);
        button->SetImage(skin->GetImage(kButtonImage), FALSE);
        button->SetFont(skin->GetFont(kTextFont));
        button->SetTextColor(kTextColor, FALSE);
        button->SetText(place.text, FALSE);
        root->AddChild(button);
    }
}

LRESULT CMsgBox::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    switch (LOWORD(wParam)) {
    case kIdOk:
        Answer(kResultOk);
        break;
    case kIdCancel:
        Answer(kResultCancel);
        break;
    case kIdClose:
        Answer(kResultClosed);
        break;
    default:
        handled = FALSE;
        break;
    }
    return 0;
}

void CMsgBox::Answer(int result) {
    Hide();
    if (m_callback) {
        m_callback->OnMsgBoxResult(result, m_tag);
    }
}
