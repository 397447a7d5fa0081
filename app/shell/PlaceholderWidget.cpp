#include "app/shell/PlaceholderWidget.h"

#include "app/AppContext.h"
#include "app/base/DeskMessages.h"
#include "app/base/SmartLogger.h"

namespace {

void PostWidgetState(WPARAM id, bool open) {
    HWND main = CAppContext::GetInstance()->GetMainWnd();
    if (main) {
        ::PostMessageW(main, WM_DESK_WIDGET_STATE, id, open ? 1 : 0);
    }
}

} // namespace

void CPlaceholderWidget::Show(bool show) {
    m_shown = show;
    WriteLog(L"[tid:%d] widget %s show:%d", ::GetCurrentThreadId(), m_name, show ? 1 : 0);
    PostWidgetState(m_id, show);
}

void CPlaceholderWidget::StartMonitor(bool autoStart) {
    WriteLog(L"[tid:%d] %s StartMonitor autoStart:%d", ::GetCurrentThreadId(), m_name, autoStart ? 1 : 0);
    if (!m_shown) {
        m_shown = true;
        PostWidgetState(m_id, true);
    }
}

CPlaceholderWidget& WeatherWidget() {
    static CPlaceholderWidget widget(kWidgetWeather, L"weather");
    return widget;
}

CPlaceholderWidget& TempMonitorWidget() {
    static CPlaceholderWidget widget(kWidgetTempMonitor, L"tempmonitor");
    return widget;
}
