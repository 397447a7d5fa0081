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

CPlaceholderWidget& WeatherWidget() {
    static CPlaceholderWidget widget(kWidgetWeather, L"weather");
    return widget;
}
