#include <gtest/gtest.h>

#include <algorithm>

#include "app/base/ScopedHandle.h"
#include "layer/LayerControlRootView.h"
#include "tests/unit/layer/LayerProbes.h"

namespace {

// A root view of 200 x 200 with a stand-in window.
class ControlTree : public ::testing::Test {
protected:
    ControlTree() { root.Create(nullptr, &window, -1, RECT{0, 0, 200, 200}, 0); }

    CProbeControl* Add(CLayerControlGroup* group, const wchar_t* name, RECT rect, COLORREF fill = 0, int id = 0) {
        auto* probe = new CProbeControl(&trace, name, fill);
        probe->Create(nullptr, &window, id, rect, 0);
        group->AddChild(probe);
        return probe;
    }

    template <class Group> Group* AddGroup(CLayerControlGroup* parent, Group* group, RECT rect) {
        group->Create(nullptr, &window, 0, rect, 0);
        parent->AddChild(group);
        return group;
    }

    bool Saw(const std::wstring& event) const { return std::find(trace.begin(), trace.end(), event) != trace.end(); }

    Trace trace;
    CFakeLayerWindow window{&trace};
    CLayerControlRootView root;
};

// Paints the tree into a 200 x 200 bitmap and returns the colour at (x, y) for each point.
std::vector<COLORREF> PaintAndSample(CLayerControlRootView& root, std::initializer_list<POINT> points) {
    CWindowDC screen(nullptr);
    CMemoryDC dc(::CreateCompatibleDC(screen.Get()));
    CBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), 200, 200));
    CSelectObject select(dc.Get(), bitmap.Get());
    ::PatBlt(dc.Get(), 0, 0, 200, 200, BLACKNESS);
    root.Paint(dc.Get());
    std::vector<COLORREF> colours;
    for (POINT point : points) {
        colours.push_back(::GetPixel(dc.Get(), point.x, point.y) & 0xFFFFFF);
    }
    return colours;
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

} // namespace

TEST_F(ControlTree, LaterSiblingIsDrawnOnTopAndHitFirstAndGroupsMoveTheirChildren) {
    CProbeControl* first = Add(&root, L"first", RECT{0, 0, 60, 60}, kRed);
    CProbeControl* second = Add(&root, L"second", RECT{40, 40, 100, 100}, kBlue);
    CLayerControlGroup* group = AddGroup(&root, new CLayerControlGroup, RECT{120, 120, 200, 200});
    CProbeControl* inner = Add(group, L"inner", RECT{10, 10, 30, 30}, kGreen);

    EXPECT_EQ(root.ChildFromPoint(50, 50), second);
    EXPECT_EQ(root.ChildFromPoint(20, 20), first);
    EXPECT_EQ(root.ChildFromPoint(135, 135), inner);
    EXPECT_EQ(root.ChildFromPoint(125, 125), nullptr);

    // The inner rect (10, 10, 30, 30) is relative to the group at (120, 120).
    EXPECT_EQ(PaintAndSample(root, {{50, 50}, {20, 20}, {135, 135}, {125, 125}, {145, 145}}),
              (std::vector<COLORREF>{kBlue, kRed, kGreen, 0, kGreen}));
}

TEST_F(ControlTree, ChildGroupCoveringAPointHidesTheSiblingsBeneathIt) {
    CProbeControl* under = Add(&root, L"under", RECT{0, 0, 100, 100});
    CLayerControlGroup* cover = AddGroup(&root, new CLayerControlGroup, RECT{0, 0, 50, 50});
    CProbeControl* inside = Add(cover, L"inside", RECT{30, 30, 50, 50});

    EXPECT_EQ(root.ChildFromPoint(10, 10), nullptr);
    EXPECT_EQ(root.ChildFromPoint(40, 40), inside);
    EXPECT_EQ(root.ChildFromPoint(70, 70), under);

    // Hidden, the group no longer covers anything.
    cover->SetVisible(FALSE, FALSE);
    EXPECT_EQ(root.ChildFromPoint(10, 10), under);
}

TEST_F(ControlTree, MovingBetweenControlsSendsLeaveBeforeHoverAndHidesTheFirstTipBeforeShowingTheSecond) {
    CProbeControl* a = Add(&root, L"a", RECT{0, 0, 50, 50});
    CProbeControl* b = Add(&root, L"b", RECT{100, 0, 150, 50});
    a->SetToolTip(L"tip a");
    a->EnableToolTip(TRUE);
    b->SetToolTip(L"tip b");
    b->EnableToolTip(TRUE);

    root.OnMouseMove(0, 10, 10);
    root.OnMouseMove(0, 12, 10);
    root.OnMouseMove(0, 110, 20);
    Trace expected{L"tip.hide", L"a.hover(10,10)", L"tip.show:tip a",  L"a.move(12,10)", L"tip.show:tip a",
                   L"a.leave",  L"tip.hide",       L"b.hover(110,20)", L"tip.show:tip b"};
    EXPECT_EQ(trace, expected);
    EXPECT_EQ(root.GetHoverControl(), b);

    // Leaving the window reaches the hovered control and hides the tip.
    trace.clear();
    root.OnMouseLeave();
    EXPECT_EQ(trace, (Trace{L"b.leave", L"tip.hide"}));
    EXPECT_EQ(root.GetHoverControl(), nullptr);

    // A control whose tip is off hides any tip.
    trace.clear();
    b->EnableToolTip(FALSE);
    root.OnMouseMove(0, 110, 20);
    EXPECT_EQ(trace, (Trace{L"tip.hide", L"b.hover(110,20)", L"tip.hide"}));
}

TEST_F(ControlTree, ReleaseOutsideThePressedControlStillReachesItInItsOwnCoordinates) {
    CLayerControlGroup* group = AddGroup(&root, new CLayerControlGroup, RECT{20, 20, 120, 120});
    Add(group, L"pressed", RECT{0, 0, 30, 30}, 0, 7);
    Add(&root, L"other", RECT{150, 150, 200, 200});

    BOOL handled = TRUE;
    root.OnLButtonDown(0, 25, 26, handled);
    root.OnLButtonUp(0, 170, 180, handled);
    EXPECT_EQ(trace, (Trace{L"pressed.down(5,6)", L"pressed.up(150,160)", L"command7"}));
    EXPECT_EQ(root.GetPressedControl(), nullptr);
}

TEST_F(ControlTree, TimerIdsReachOnlyTheirControlsWhileGroupsPassEveryTickOn) {
    CProbeControl* five = Add(&root, L"five", RECT{0, 0, 10, 10});
    five->SetTimerID(5);
    CProbeControl* seven = Add(&root, L"seven", RECT{0, 0, 10, 10});
    seven->SetTimerID(7);
    CProbeControl* hidden = Add(&root, L"hidden", RECT{0, 0, 10, 10});
    hidden->SetTimerID(5);
    hidden->SetVisible(FALSE, FALSE);
    CProbeGroup* group = AddGroup(&root, new CProbeGroup(&trace, L"group"), RECT{50, 50, 100, 100});
    CProbeControl* innerFive = Add(group, L"innerFive", RECT{0, 0, 10, 10});
    innerFive->SetTimerID(5);
    Add(group, L"plain", RECT{0, 0, 10, 10});

    root.OnTimer(5);
    // Reverse order: the group (last child) first, then seven (skipped), then five.
    EXPECT_EQ(trace, (Trace{L"group.tick5", L"innerFive.tick5", L"five.tick5"}));

    trace.clear();
    root.OnTimer(9);
    EXPECT_EQ(trace, (Trace{L"group.tick9"}));
}

TEST_F(ControlTree, PageChangeHidesOtherPagesWithoutTouchingVisibleFlags) {
    CLayerControlGroup* pages = AddGroup(&root, new CLayerControlGroup, RECT{0, 0, 200, 200});
    CProbeControl* zero = Add(pages, L"zero", RECT{0, 0, 50, 50}, kRed);
    zero->SetPage(0, FALSE);
    CProbeControl* one = Add(pages, L"one", RECT{0, 0, 50, 50}, kBlue);
    one->SetPage(1, FALSE);
    CProbeControl* every = Add(pages, L"every", RECT{100, 100, 150, 150}, kGreen);

    // Page -1 on the group: every child takes part, the later one on top.
    EXPECT_EQ(pages->ChildFromPoint(10, 10), one);

    pages->SetPage(0, TRUE);
    EXPECT_EQ(window.invalidated.size(), 1u);
    EXPECT_EQ(pages->ChildFromPoint(10, 10), zero);
    EXPECT_EQ(pages->ChildFromPoint(110, 110), every);
    EXPECT_EQ(PaintAndSample(root, {{10, 10}, {110, 110}}), (std::vector<COLORREF>{kRed, kGreen}));
    EXPECT_FALSE(Saw(L"one.paint"));

    pages->SetPage(1, FALSE);
    EXPECT_EQ(pages->ChildFromPoint(10, 10), one);
    EXPECT_TRUE(zero->IsVisible());
    EXPECT_TRUE(one->IsVisible());
    EXPECT_TRUE(every->IsVisible());
}

TEST_F(ControlTree, SetRectWithAnEqualRectangleDoesNothingAndAChangeInvalidatesTheUnionInWindowSpace) {
    CLayerControlGroup* group = AddGroup(&root, new CLayerControlGroup, RECT{100, 100, 200, 200});
    CProbeControl* probe = Add(group, L"probe", RECT{10, 10, 30, 30});
    trace.clear();
    window.invalidated.clear();

    probe->SetRect(RECT{10, 10, 30, 30}, TRUE);
    probe->SetBounds(10, 10, 20, 20, TRUE);
    probe->MoveTo(10, 10, TRUE);
    EXPECT_TRUE(trace.empty());
    EXPECT_TRUE(window.invalidated.empty());

    probe->SetRect(RECT{40, 10, 60, 30}, TRUE);
    EXPECT_EQ(trace, (Trace{L"probe.size(40,10)(60,30)"}));
    ASSERT_EQ(window.invalidated.size(), 1u);
    RECT expected{110, 110, 160, 130};
    EXPECT_TRUE(::EqualRect(&window.invalidated[0], &expected));

    // Without redraw the rect still changes but nothing is repainted; -1 keeps a dimension.
    probe->Resize(-1, 50, FALSE);
    RECT rect{};
    probe->GetRect(&rect);
    EXPECT_EQ(rect.right - rect.left, 20);
    EXPECT_EQ(rect.bottom - rect.top, 50);
    EXPECT_EQ(window.invalidated.size(), 1u);
}

TEST_F(ControlTree, RemovingControlsClearsHoverAndPressedAndDestroysThemOnce) {
    CProbeControl* a = Add(&root, L"a", RECT{0, 0, 50, 50}, 0, 3);
    CProbeControl* duplicate = Add(&root, L"dup", RECT{60, 0, 100, 50}, 0, 3);
    EXPECT_EQ(root.GetChildByID(3), a);
    EXPECT_EQ(root.ChildFromPoint(70, 10), duplicate);

    BOOL handled = TRUE;
    root.OnMouseMove(0, 10, 10);
    root.OnLButtonDown(0, 10, 10, handled);
    trace.clear();
    root.RemoveChildByID(3, TRUE, FALSE);
    EXPECT_EQ(trace, (Trace{L"a.destroy", L"a.release"}));
    EXPECT_EQ(root.GetHoverControl(), nullptr);
    EXPECT_EQ(root.GetPressedControl(), nullptr);
    // The map entry went with the first control; the duplicate is still in the list.
    EXPECT_EQ(root.GetChildByID(3), nullptr);
    EXPECT_EQ(root.GetChildCount(), 1u);

    trace.clear();
    root.OnDestroy();
    EXPECT_EQ(trace, (Trace{L"dup.destroy", L"dup.release"}));
    EXPECT_EQ(root.GetChildCount(), 0u);
}
