#include "guide/MsgBox.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/unit/layer/LayerProbes.h"
#include "unit/WidgetTest.h"

namespace {

// Records each answer as "result:tag", marked when the box was still on screen as it was given.
class CRecordingCallBack : public IMsgBoxCallBack {
public:
    explicit CRecordingCallBack(CMsgBox* box) : m_box(box) {}
    void OnMsgBoxResult(int result, std::wstring tag) override {
        answers.push_back(std::to_wstring(result) + L":" + tag + (::IsWindowVisible(m_box->m_hWnd) ? L" shown" : L""));
    }
    std::vector<std::wstring> answers;

private:
    CMsgBox* m_box;
};

// The box's skin comes from the process's registry, as in the program.
class MsgBoxTest : public CWidgetTest {
protected:
    CMsgBox box;
};

} // namespace

TEST_F(MsgBoxTest, EachButtonHidesTheBoxThenReportsItsResultWithTheTag) {
    // Client points inside OK, Cancel and the close button.
    const struct {
        POINT point;
        int result;
    } cases[] = {{{206, 102}, 0}, {{105, 102}, 1}, {{296, 14}, 2}};
    CRecordingCallBack callback(&box);
    box.SetTag(L"tempmonitor");
    box.SetCallBack(&callback);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        ASSERT_TRUE(box.Show());
        PumpMessages();
        ASSERT_TRUE(::IsWindowVisible(box.m_hWnd));
        callback.answers.clear();
        ::SendMessageW(box.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.point.x, c.point.y));
        ::SendMessageW(box.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(c.point.x, c.point.y));
        PumpMessages();
        EXPECT_FALSE(::IsWindowVisible(box.m_hWnd));
        // Hidden before the callback runs.
        EXPECT_EQ(callback.answers, std::vector<std::wstring>{std::to_wstring(c.result) + L":tempmonitor"});
    }
}

// The position itself is worked out natively; here the box takes its owner and its centre from it, or from the
// work area while the owner is minimised.
TEST_F(MsgBoxTest, ShowCentresTheBoxOnItsOwnerUnlessItIsMinimised) {
    CWindowHandle owner(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 120, 400, 300, nullptr,
                                          nullptr, nullptr, nullptr));
    ASSERT_TRUE(owner);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    box.SetOwnerWindow(owner.Get());
    for (const POINT centre : {POINT{300, 270}, POINT{(work.left + work.right) / 2, (work.top + work.bottom) / 2}}) {
        ASSERT_TRUE(box.Show());
        PumpMessages();
        RECT rect{};
        ::GetWindowRect(box.m_hWnd, &rect);
        EXPECT_EQ(::GetWindow(box.m_hWnd, GW_OWNER), owner.Get());
        const int left = centre.x - CMsgBox::kWidth / 2, top = centre.y - CMsgBox::kHeight / 2;
        EXPECT_EQ(std::make_tuple(rect.left, rect.top, rect.right, rect.bottom),
                  std::make_tuple(left, top, left + CMsgBox::kWidth, top + CMsgBox::kHeight));
        ::ShowWindow(owner.Get(), SW_MINIMIZE);
        PumpMessages();
    }
}
