#include "app/shell/ShellWidgetHost.h"

#include <string>

#include "app/AppContext.h"
#include "app/SystemUtils.h"
#include "net/Statistic.h"

HWND CShellWidgetHost::GetMainWnd() {
    return CAppContext::GetInstance()->GetMainWnd();
}

POINT CShellWidgetHost::GetSavedPosition() {
    const CIniSettings* settings = CIniSettings::GetInstance();
    return POINT{(settings->*m_settings.getX)(), (settings->*m_settings.getY)()};
}

void CShellWidgetHost::SavePosition(POINT corner) {
    CIniSettings* settings = CIniSettings::GetInstance();
    (settings->*m_settings.setX)(corner.x);
    (settings->*m_settings.setY)(corner.y);
}

int CShellWidgetHost::GetTransparency() {
    return m_settings.getAlpha ? (CIniSettings::GetInstance()->*m_settings.getAlpha)() : 100;
}

void CShellWidgetHost::SaveTransparency(int percent) {
    if (m_settings.setAlpha) {
        (CIniSettings::GetInstance()->*m_settings.setAlpha)(percent);
    }
}

bool CShellWidgetHost::GetDragLock() {
    return m_settings.getLock && (CIniSettings::GetInstance()->*m_settings.getLock)() != 0;
}

void CShellWidgetHost::SaveDragLock(bool locked) {
    if (m_settings.setLock) {
        (CIniSettings::GetInstance()->*m_settings.setLock)(locked ? 1 : 0);
    }
}

void CShellWidgetHost::Report(const wchar_t* suffix) {
    const std::wstring action = std::wstring(m_settings.name) + suffix;
    CStatistic::GetInstance()->Report(L"bizhi", action.c_str());
}

void CShellWidgetHost::ReportShow() {
    Report(L"_show");
}

void CShellWidgetHost::ReportClose() {
    Report(L"_close");
}

void CShellWidgetHost::WriteClosed() {
    (CIniSettings::GetInstance()->*m_settings.writeOff)();
}

HWND CShellWidgetHost::FindWallpaperBar() {
    return ::FindWallpaperBar();
}
