#pragma once

#include <windows.h>

// What a desktop widget needs of the program around it: its owner, its saved place and transparency,
// its usage events and its registry value. These live in layers the widget framework may not include,
// so the shell implements this for each widget it creates and hands it over (CDeskWidget::SetHost).
class IWidgetHost {
public:
    // The main window: owner of the widget and receiver of WM_DESK_WIDGET_STATE; null when there is none.
    virtual HWND GetMainWnd() = 0;
    // The saved top-left corner; -1 in a field that was never saved.
    virtual POINT GetSavedPosition() = 0;
    virtual void SavePosition(POINT corner) = 0;
    // The transparency slider's saved percentage.
    virtual int GetTransparency() = 0;
    virtual void SaveTransparency(int percent) = 0;
    // The saved drag lock; false for a widget that has none.
    virtual bool GetDragLock() = 0;
    virtual void SaveDragLock(bool locked) = 0;
    // Usage events: the widget was shown, or closed with its own close button.
    virtual void ReportShow() = 0;
    virtual void ReportClose() = 0;
    // Tells the wallpaper application the user switched the widget off.
    virtual void WriteClosed() = 0;
    // The wallpaper application's visible bar the widget stays behind, or null.
    virtual HWND FindWallpaperBar() = 0;

protected:
    ~IWidgetHost() = default;
};
