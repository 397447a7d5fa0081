#include "companions/wpapp/BarWnd.h"

#include "app/base/ScopedHandle.h"
#include "companions/wpapp/WpappLog.h"

CBarWnd::~CBarWnd() {
    DestroyWindow();
}

const wchar_t* CBarWnd::TitleOf(Kind kind) {
    return kind == Kind::SwitchBar ? L"VexaDirectUICls_SwitchBar" : L"VexaDTFence";
}

void CBarWnd::Show(HWND owner, bool show) {
    if (!show) {
        if (IsWindow()) {
            ::ShowWindow(m_hWnd, SW_HIDE);
        }
        return;
    }
    if (!IsWindow()) {
        RECT place = Placement();
        if (!Create(owner, &place, TitleOf(m_kind))) {
            WpappLog(L"cannot create the bar window %s (error %lu)", TitleOf(m_kind), ::GetLastError());
            return;
        }
    }
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
}

// The switch bar sits near the top right of the work area, the fence near the bottom left, as the
// wallpaper application places them by default.
RECT CBarWnd::Placement() const {
    RECT work = {0, 0, 1024, 768};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (m_kind == Kind::SwitchBar) {
        constexpr LONG kWidth = 360, kHeight = 44, kMargin = 16;
        return {work.right - kWidth - kMargin, work.top + kMargin, work.right - kMargin, work.top + kMargin + kHeight};
    }
    constexpr LONG kWidth = 300, kHeight = 180, kMargin = 16;
    return {work.left + kMargin, work.bottom - kHeight - kMargin, work.left + kMargin + kWidth, work.bottom - kMargin};
}

LRESULT CBarWnd::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    CBrushHandle fill(::CreateSolidBrush(m_kind == Kind::SwitchBar ? RGB(40, 44, 52) : RGB(52, 64, 84)));
    ::FillRect(dc, &client, fill.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(230, 230, 230));
    ::DrawTextW(dc, TitleOf(m_kind), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}
