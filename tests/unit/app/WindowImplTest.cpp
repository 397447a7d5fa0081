#include <gtest/gtest.h>

#include <string>

#include "app/base/WindowImpl.h"

namespace {

constexpr UINT kProbe = WM_APP + 7;

class CProbeWnd : public CWindowImplT<CProbeWnd, CWinTraits<WS_POPUP, WS_EX_TOOLWINDOW>> {
public:
    static const wchar_t* GetWndClassName() { return L"DesklingProbeWnd"; }

    BEGIN_MSG_MAP(CProbeWnd)
    MESSAGE_HANDLER(kProbe, OnFirst)
    MESSAGE_HANDLER(kProbe, OnSecond)
    MSG_WM_TIMER(OnTimer)
    END_MSG_MAP()

    std::wstring trace;
    bool firstPassesOn = true;
    bool finalSeen = false;
    UINT_PTR timerId = 0;

    void OnFinalMessage(HWND) override { finalSeen = true; }

private:
    LRESULT OnFirst(UINT, WPARAM, LPARAM, BOOL& handled) {
        trace += L"1";
        handled = firstPassesOn ? FALSE : TRUE;
        return 1;
    }
    LRESULT OnSecond(UINT, WPARAM wParam, LPARAM, BOOL&) {
        trace += L"2";
        return static_cast<LRESULT>(wParam) * 2;
    }
    void OnTimer(UINT_PTR id) { timerId = id; }
};

} // namespace

TEST(WindowImpl, EntriesRunInOrderHonouringTheHandledFlagAndDestructionCallsTheFinalHook) {
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, nullptr, L"probe title"));
    EXPECT_EQ(::SendMessageW(wnd.m_hWnd, kProbe, 21, 0), 42);
    EXPECT_EQ(wnd.trace, L"12");
    wnd.firstPassesOn = false;
    EXPECT_EQ(::SendMessageW(wnd.m_hWnd, kProbe, 21, 0), 1);
    EXPECT_EQ(wnd.trace, L"121");

    ::SendMessageW(wnd.m_hWnd, WM_TIMER, 77, 0);
    EXPECT_EQ(wnd.timerId, 77u);
    // Unmapped messages reach the default procedure.
    wchar_t title[32] = {};
    ::GetWindowTextW(wnd.m_hWnd, title, 32);
    EXPECT_STREQ(title, L"probe title");
    EXPECT_TRUE(::GetWindowLongPtrW(wnd.m_hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    const HWND hwnd = wnd.m_hWnd;
    wnd.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.finalSeen);
}
