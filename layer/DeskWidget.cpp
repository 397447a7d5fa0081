#include "layer/DeskWidget.h"

#include <cwchar>
#include <vector>

#include "app/base/SmartLogger.h"
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

BOOL CALLBACK AddMonitorWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(monitor, &info)) {
        const RECT& work = info.rcWork;
        reinterpret_cast<std::vector<WidgetRect>*>(areas)->push_back(
            WidgetRect{work.left, work.top, work.right, work.bottom});
    }
    return TRUE;
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

WidgetRect CDeskWidget::LayerWorkArea() const {
    return ScaleFromDpi(WorkArea(), m_window.GetDpi());
}

WidgetPoint CDeskWidget::LayerCorner() const {
    RECT window{};
    ::GetWindowRect(m_window.GetHWND(), &window);
    return WidgetPoint{m_window.ToLayer(window.left), m_window.ToLayer(window.top)};
}

void CDeskWidget::MoveTo(WidgetPoint corner, HWND insertAfter, UINT flags) {
    ::SetWindowPos(m_window.GetHWND(), insertAfter, m_window.ToScreen(corner.x), m_window.ToScreen(corner.y), 0, 0,
                   SWP_NOSIZE | flags);
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
        MoveTo(WidgetPlacement(LayerWorkArea(), m_width, saved.x, saved.y), HWND_BOTTOM, SWP_NOACTIVATE);
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
    const POINT layer = m_window.ToLayerPoint(client);
    ILayerControl* control = m_window.GetRootView()->ChildFromPoint(layer.x, layer.y);
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
    const POINT moved{window.left + screen.x - last.x, window.top + screen.y - last.y};
    const WidgetPoint corner{m_window.ToLayer(moved.x), m_window.ToLayer(moved.y)};
    if (!WidgetDragAllowed(LayerWorkArea(), corner)) {
        return;
    }
    // The window follows the pointer pixel by pixel; its place is saved in the layout's terms.
    ::SetWindowPos(hwnd, nullptr, moved.x, moved.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
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

void CDeskWidget::OnDisplayChange() {
    if (!IsShown()) {
        return;
    }
    std::vector<WidgetRect> areas;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitorWorkArea, reinterpret_cast<LPARAM>(&areas));
    for (WidgetRect& area : areas) {
        area = ScaleFromDpi(area, m_window.GetDpi());
    }
    const WidgetPoint corner = LayerCorner();
    const WidgetPoint to = WidgetAfterDisplayChange(LayerWorkArea(), areas, m_width, corner);
    if (to.x == corner.x && to.y == corner.y) {
        return;
    }
    WriteLog(L"[tid:%d] widget %s off every monitor at %d,%d, back to %d,%d", ::GetCurrentThreadId(), m_name, corner.x,
             corner.y, to.x, to.y);
    MoveTo(to, nullptr, SWP_NOZORDER | SWP_NOACTIVATE);
    m_events.OnWidgetMoved();
}

void CDeskWidget::OnPositionChanging(WINDOWPOS* pos) {
    if (!pos || ((pos->flags & SWP_NOMOVE) && (pos->flags & SWP_NOZORDER))) {
        return;
    }
    HWND bar = m_host ? m_host->FindWallpaperBar() : nullptr;
    pos->hwndInsertAfter = bar ? bar : HWND_BOTTOM;
    pos->flags &= ~static_cast<UINT>(SWP_NOZORDER);
}
