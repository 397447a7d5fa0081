#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "layer/LayerButtonCtrl.h"
#include "layer/LayerCheckboxCtrl.h"
#include "layer/LayerLabelCtrl.h"
#include "news/NewsWnd.h"
#include "unit/WidgetTest.h"

namespace {

using NewsWndTest = CWidgetTest;

// A picture file the window can show: a skin picture's bytes as the program carries them.
std::string SkinPng(HMODULE resources) {
    HRSRC found = ::FindResourceW(resources, MAKEINTRESOURCEW(117), L"PNG");
    const void* bytes = found ? ::LockResource(::LoadResource(resources, found)) : nullptr;
    return bytes ? std::string(static_cast<const char*>(bytes), ::SizeofResource(resources, found)) : std::string();
}

int Checked(const CNewsWnd* wnd) {
    int checked = -1;
    for (int i = 0; i < kNewsDotCount; ++i) {
        checked = wnd->GetDot(i)->IsChecked() ? i : checked;
    }
    return checked;
}

// Rotation, a picture that is no picture, an empty list and the drag lock, on this process's window with
// the test thread as its UI thread.
TEST_F(NewsWndTest, RotatesKeepsThePictureShownWhenTheNextFailsAndALockedWidgetStaysWhereItIs) {
    CScratchFolder folder(L"news-wnd");
    const std::wstring picture = folder / L"picture.png", broken = folder / L"broken.png";
    ASSERT_TRUE(CScratchFolder::WriteFileText(picture, SkinPng(s_resources)));
    ASSERT_TRUE(CScratchFolder::WriteFileText(broken, "not found\n"));
    CNewsWnd* wnd = CNewsWnd::GetInstance();
    wnd->Show(true);
    ASSERT_TRUE(wnd->IsWindow());

    wnd->SetNewsList({{L"a", L"", L"一", picture}, {L"b", L"", L"二", broken}, {L"c", L"", L"三", L""}});
    std::vector<std::wstring> seen;
    std::vector<int> dots;
    for (int step = 0; step < 4; ++step) {
        seen.push_back(wnd->GetTitle()->GetText() + L":" + (wnd->GetShownPicture() == picture ? L"p" : L"?"));
        dots.push_back(Checked(wnd));
        wnd->OnLayerTimer(CNewsWnd::kRotateTimer);
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"一:p", L"二:p", L"三:p", L"一:p"}));
    EXPECT_EQ(dots, (std::vector<int>{0, 1, 2, 0}));
    wnd->SetNewsPicture(0, broken);
    EXPECT_EQ(wnd->GetShownPicture(), picture);

    wnd->SetNewsList({});
    EXPECT_EQ(wnd->GetTitle()->GetText(), L"二") << "an empty list changes nothing";

    // The lock button hides for the unlock button and no drag moves the widget; unlocked, one does.
    auto drag = [&] {
        RECT before{}, after{};
        ::GetWindowRect(wnd->m_hWnd, &before);
        wnd->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 8));
        wnd->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 38));
        wnd->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(120, 38));
        ::GetWindowRect(wnd->m_hWnd, &after);
        return after.left - before.left;
    };
    wnd->SendMessage(WM_COMMAND, CNewsWnd::kLockId, 0);
    EXPECT_FALSE(wnd->GetLockButton()->IsVisible());
    EXPECT_EQ(drag(), 0);
    wnd->SendMessage(WM_COMMAND, CNewsWnd::kUnlockId, 0);
    EXPECT_TRUE(wnd->GetLockButton()->IsVisible());
    EXPECT_EQ(drag(), -30);
    wnd->Show(false);
}

} // namespace
