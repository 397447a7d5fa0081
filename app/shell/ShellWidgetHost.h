#pragma once

#include "app/IniSettings.h"
#include "layer/IWidgetHost.h"

// Where one widget keeps its place, transparency and drag lock and what it is called in the registry and the
// usage events. A widget without a transparency or a lock has null accessors for it.
struct WidgetSettings {
    const wchar_t* name;
    int (CIniSettings::*getX)() const;
    void (CIniSettings::*setX)(int);
    int (CIniSettings::*getY)() const;
    void (CIniSettings::*setY)(int);
    // Null for a widget without a transparency slider.
    int (CIniSettings::*getAlpha)() const;
    void (CIniSettings::*setAlpha)(int);
    void (CIniSettings::*writeOff)() const;
    int (CIniSettings::*getLock)() const;
    void (CIniSettings::*setLock)(int);
};

// The program's services behind one widget: the main window from the context, its settings, the
// statistics in the widgets' category and the wallpaper application's bar.
class CShellWidgetHost : public IWidgetHost {
public:
    explicit CShellWidgetHost(const WidgetSettings& settings) : m_settings(settings) {}

    HWND GetMainWnd() override;
    POINT GetSavedPosition() override;
    void SavePosition(POINT corner) override;
    int GetTransparency() override;
    void SaveTransparency(int percent) override;
    bool GetDragLock() override;
    void SaveDragLock(bool locked) override;
    void ReportShow() override;
    void ReportClose() override;
    void WriteClosed() override;
    HWND FindWallpaperBar() override;

private:
    void Report(const wchar_t* suffix);

    const WidgetSettings& m_settings;
};
