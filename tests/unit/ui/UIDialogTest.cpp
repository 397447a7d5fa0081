#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/UIButton.h"
#include "ui/UICombo.h"
#include "ui/UIDialog.h"
#include "ui/UIOption.h"
#include "unit/layer/SkinTestSupport.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

const std::string kLayout = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="200,120" bkcolor="#F0202020">
  <ControlUI name="panel" pos="10,20,150,90">
    <ButtonUI name="ok" pos="5,6,40,20" text="确定"/>
    <OptionUI name="remember" pos="50,6,90,20" text="记住"/>
  </ControlUI>
  <ComboUI name="list" pos="10,80,100,24" itemheight="20"/>
</Window>)";

// A dialog with the four control types, built from layouts in memory; it records what it is told.
class UIDialogTest : public CGdiplusTest, public INotifyUI {
protected:
    void SetUp() override {
        CGdiplusTest::SetUp();
        m_dialog.RegisterControl(L"ControlUI", [] { return std::make_unique<CUIControl>(); });
        m_dialog.RegisterControl(L"ButtonUI", [] { return std::make_unique<CUIButton>(); });
        m_dialog.RegisterControl(L"OptionUI", [] { return std::make_unique<CUIOption>(); });
        m_dialog.RegisterControl(L"ComboUI", [] { return std::make_unique<CUICombo>(); });
        m_dialog.SetNotifier(this);
    }
    void Notify(const TNotifyUI& msg) override {
        m_told.push_back(msg.type + L" " + msg.sender->GetName() + L" " + std::to_wstring(msg.index));
    }
    static void Click(HWND window, POINT from, POINT to) {
        ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }
    POINT Centre(const wchar_t* name) {
        const RECT r = m_dialog.FindControl(name)->GetPos();
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    CUIDialog m_dialog;
    std::vector<std::wstring> m_told;
};

TEST_F(UIDialogTest, LayoutsBuildTheirControlTreeOrKeepTheLastOne) {
    std::wstring error;
    ASSERT_TRUE(m_dialog.BuildLayout(Bytes(kLayout), error)) << error;
    const RECT ok = m_dialog.FindControl(L"ok")->GetPos();
    EXPECT_EQ(std::vector<LONG>({ok.left, ok.top, ok.right, ok.bottom}), std::vector<LONG>({15, 26, 55, 46}));
    EXPECT_NE(dynamic_cast<CUIOption*>(m_dialog.FindControl(L"remember")), nullptr);
    EXPECT_NE(dynamic_cast<CUICombo*>(m_dialog.FindControl(L"list")), nullptr);
    EXPECT_EQ(m_dialog.GetSize().cx * 1000 + m_dialog.GetSize().cy, 200120);

    std::string deep = "<Window size=\"9,9\">";
    for (int i = 0; i < 40; ++i) {
        deep += "<ControlUI>";
    }
    for (int i = 0; i < 40; ++i) {
        deep += "</ControlUI>";
    }
    const std::string faulty[] = {
        "",
        "<Window size=\"10,10\"><ButtonUI></Window>",
        "<Window size=\"10,10\"><ButtonUI/>",
        "<Window size=\"10,10\"/><Window size=\"10,10\"/>",
        "<!DOCTYPE Window [<!ENTITY e \"x\">]><Window size=\"10,10\" text=\"&e;\"/>",
        "<Panel size=\"10,10\"/>",
        "<Window/>",
        "<Window size=\"0,10\"/>",
        "<Window size=\"10,10\"><SliderUI/></Window>",
        "<Window size=\"10,10\"><ButtonUI pos=\"1,2,3\"/></Window>",
        "<Window size=\"10,10\"><ButtonUI colour=\"#FFFFFF\"/></Window>",
        "<Window size=\"10,10\"><ComboUI itemheight=\"5\"/></Window>",
        "<Window size=\"10,10\" bkcolor=\"red\"/>",
        deep + "</Window>",
    };
    for (const std::string& document : faulty) {
        error.clear();
        EXPECT_FALSE(m_dialog.BuildLayout(Bytes(document), error)) << document;
        EXPECT_FALSE(error.empty()) << document;
        EXPECT_NE(m_dialog.FindControl(L"ok"), nullptr) << document;
    }
}

// At 100 % and at 200 %: the window and its list take the scale, and the mouse is mapped back to the layout.
class UIDialogScaleTest : public UIDialogTest, public testing::WithParamInterface<int> {
protected:
    POINT Scaled(POINT layout) const {
        return POINT{ScaleToDpi(layout.x, GetParam()), ScaleToDpi(layout.y, GetParam())};
    }
};

TEST_P(UIDialogScaleTest, MouseClicksBecomeNotifications) {
    std::wstring error;
    ASSERT_TRUE(m_dialog.BuildLayout(Bytes(kLayout), error)) << error;
    const RECT place{100, 100, 300, 220};
    ASSERT_TRUE(m_dialog.Create(nullptr, &place));
    m_dialog.SetDpi(GetParam());
    m_dialog.ShowAt(POINT{100, 100});
    RECT window{};
    ::GetWindowRect(m_dialog.m_hWnd, &window);
    EXPECT_EQ(window.right - window.left, ScaleToDpi(200, GetParam()));
    auto* list = static_cast<CUICombo*>(m_dialog.FindControl(L"list"));
    for (const wchar_t* city : {L"广州", L"深圳", L"珠海"}) {
        list->AddItem(city, std::wstring(L"44") + std::to_wstring(list->GetCount()));
    }

    Click(m_dialog.m_hWnd, Scaled(Centre(L"ok")), Scaled(Centre(L"ok")));
    Click(m_dialog.m_hWnd, Scaled(Centre(L"ok")), Scaled(Centre(L"remember")));
    Click(m_dialog.m_hWnd, Scaled(Centre(L"remember")), Scaled(Centre(L"remember")));
    EXPECT_TRUE(static_cast<CUIOption*>(m_dialog.FindControl(L"remember"))->IsSelected());
    Click(m_dialog.m_hWnd, Scaled(POINT{190, 10}), Scaled(POINT{190, 10}));

    // The combo opens its list below itself; the second row is picked there.
    Click(m_dialog.m_hWnd, Scaled(Centre(L"list")), Scaled(Centre(L"list")));
    ASSERT_TRUE(m_dialog.DropList().IsOpen());
    RECT listRect{};
    ::GetWindowRect(m_dialog.DropList().m_hWnd, &listRect);
    const RECT combo = list->GetPos();
    EXPECT_EQ(listRect.top, 100 + ScaleToDpi(combo.bottom + 2, GetParam()));
    Click(m_dialog.DropList().m_hWnd, Scaled(POINT{20, 4 + 20 + 10}), Scaled(POINT{20, 4 + 20 + 10}));
    EXPECT_FALSE(m_dialog.DropList().IsOpen());
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(list->GetItemData(list->GetCurSel()), L"441");
    // A press outside an open list closes it without a pick.
    Click(m_dialog.m_hWnd, Scaled(Centre(L"list")), Scaled(Centre(L"list")));
    Click(m_dialog.DropList().m_hWnd, POINT{-30, -30}, POINT{-30, -30});
    EXPECT_FALSE(m_dialog.DropList().IsOpen());

    EXPECT_EQ(m_told, (std::vector<std::wstring>{L"click ok -1", L"click remember -1", L"itemselect list 1"}));
}

INSTANTIATE_TEST_SUITE_P(Dpi, UIDialogScaleTest, testing::Values(96, 192));

} // namespace
