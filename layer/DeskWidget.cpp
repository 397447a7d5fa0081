#include "layer/DeskWidget.h"

#include <cwchar>

#include "app/base/SmartLogger.h"
#include "layer/DeskWidgetPlacement.h"
#include "layer/IDeskWidgetWindow.h"
#include "layer/IWidgetHost.h"
#include "layer/LayerLabelCtrl.h"
#include "layer/LayerSliderCtrl.h"
#include "layer/LayerWindowCore.h"

namespace {

WidgetRect WorkArea() {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return WidgetRect{work.left, work.top, work.right, work.bottom};
}

} // namespace

CDeskWidget::CDeskWidget(CLayerWindowCore& window, IDeskWidgetWindow& events, DeskWidgetId id, const wchar_t* name,
                         int width)
    : m_window(window), m_events(events), m_id(id), m_name(name), m_width(width) {
    m_window.AttachWidget(this);
}

CDeskWidget::~CDeskWidget() {
    m_window.AttachWidget(nullptr);
}

HWND CDeskWidget::Owner() const {
    return m_host ? m_host->GetMainWnd() : nullptr;
}

void CDeskWidget::Show(bool show) {
    WriteLog(L"[tid:%d] widget %s show:%d", ::GetCurrentThreadId(), m_name, show ? 1 : 0);
    if (show) {
        if (!m_events.CreateWidgetWindow(Owner())) {
            WriteLog(L"[tid:%d] %s window not created, error %u", ::GetCurrentThreadId(), m_name, ::GetLastError());
            PostState(false);
            return;
        }
        HWND hwnd = m_window.GetHWND();
        // Shown already: the main window knows, and the widget keeps its place.
        if (::IsWindowVisible(hwnd)) {
            return;
        }
        const POINT saved = m_host ? m_host->GetSavedPosition() : POINT{-1, -1};
        const WidgetPoint at = WidgetPlacement(WorkArea(), m_width, saved.x, saved.y);
        ::SetWindowPos(hwnd, HWND_BOTTOM, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        m_events.OnWidgetShowing();
        ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        if (m_host) {
            m_host->ReportShow();
        }
    } else if (::IsWindow(m_window.GetHWND())) {
        m_events.OnWidgetHiding();
        ::ShowWindow(m_window.GetHWND(), SW_HIDE);
    }
    PostState(show);
}

bool CDeskWidget::IsShown() const {
    HWND hwnd = m_window.GetHWND();
    return hwnd && ::IsWindowVisible(hwnd);
}

void CDeskWidget::Close() {
    if (m_host) {
        m_host->WriteClosed();
        m_host->ReportClose();
    }
    Show(false);
}

void CDeskWidget::PostState(bool shown) {
    if (HWND main = Owner()) {
        ::PostMessageW(main, WM_DESK_WIDGET_STATE, m_id, shown ? 1 : 0);
    }
}

int CDeskWidget::RestoreTransparency(CLayerSliderCtrl& slider) {
    const int percent = m_host ? m_host->GetTransparency() : 100;
    if (slider.GetRange() > 0) {
        slider.SetOffset(percent * slider.GetRange() / 100, FALSE);
    }
    return percent;
}

void CDeskWidget::SaveTransparency(int percent, CLayerLabelCtrl& label) {
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%d%%", percent);
    label.SetText(text, FALSE);
    if (m_host) {
        m_host->SaveTransparency(percent);
    }
}

bool CDeskWidget::RestoreDragLock() {
    m_dragLocked = m_host && m_host->GetDragLock();
    return m_dragLocked;
}

void CDeskWidget::SetDragLock(bool locked) {
    m_dragLocked = locked;
    if (m_host) {
        m_host->SaveDragLock(locked);
    }
}

void CDeskWidget::OnHitTest(int screenX, int screenY) {
    POINT client{screenX, screenY};
    ::ScreenToClient(m_window.GetHWND(), &client);
    ILayerControl* control = m_window.GetRootView()->ChildFromPoint(client.x, client.y);
    m_dragEnabled = !control || control->IsDragThrough();
}

void CDeskWidget::OnPress(int x, int y) {
    POINT screen{x, y};
    ::ClientToScreen(m_window.GetHWND(), &screen);
    m_pressPoint = screen;
    m_lastPoint = screen;
}

void CDeskWidget::OnMouseMove(UINT flags, int x, int y) {
    HWND hwnd = m_window.GetHWND();
    POINT screen{x, y};
    ::ClientToScreen(hwnd, &screen);
    const POINT last = m_lastPoint;
    m_lastPoint = screen;
    // Moves also come under capture, with the pointer dragged off the window: no hover look for those.
    if (!m_hovered && m_window.IsPointerOver()) {
        m_hovered = true;
        m_events.OnWidgetHover(true);
    }
    if (!(flags & MK_LBUTTON) || !m_dragEnabled || m_dragLocked || (screen.x == last.x && screen.y == last.y)) {
        return;
    }
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    const WidgetPoint corner{window.left + screen.x - last.x, window.top + screen.y - last.y};
    if (!WidgetDragAllowed(WorkArea(), corner)) {
        return;
    }
    ::SetWindowPos(hwnd, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    if (m_host) {
        m_host->SavePosition(POINT{corner.x, corner.y});
    }
    m_events.OnWidgetMoved();
}

void CDeskWidget::OnMouseLeave() {
    if (m_hovered) {
        m_hovered = false;
        m_events.OnWidgetHover(false);
    }
}

void CDeskWidget::OnPositionChanging(WINDOWPOS* pos) {
    if (!pos || ((pos->flags & SWP_NOMOVE) && (pos->flags & SWP_NOZORDER))) {
        return;
    }
    HWND bar = m_host ? m_host->FindWallpaperBar() : nullptr;
    pos->hwndInsertAfter = bar ? bar : HWND_BOTTOM;
    pos->flags &= ~static_cast<UINT>(SWP_NOZORDER);
}
