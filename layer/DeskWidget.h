#pragma once

#include <windows.h>

#include "app/base/DeskMessages.h"
#include "layer/DeskWidgetPlacement.h"

class CLayerLabelCtrl;
class CLayerSliderCtrl;
class CLayerWindowCore;
class IDeskWidgetWindow;
class IWidgetHost;

// What every widget does on the desktop, in one place: show and hide with the usage event and the state
// message to the main window, the first placement (the saved place, else the top right of the work area),
// dragging inside the work area with the new place saved (unless the saved drag lock holds it), the hover look,
// staying behind the wallpaper bar at the bottom of the window order, staying reachable when the displays
// change, the close button, and the transparency slider's saved value.
//
// A helper the window owns rather than a base class: a widget window already derives from its
// CLayerWindowBase<T>, its singleton and its model's view, and its hooks stay its own. The shape attaches
// itself to the window, whose base hands it the few messages it needs before the window's hooks; the window
// answers IDeskWidgetWindow, so a new widget adds its layout and its data and nothing else. The services behind the
// shape come through an IWidgetHost the shell hands over; without one (a window tried on its own) the widget is
// unowned, keeps no place, shows its most opaque band and reports nothing.
class CDeskWidget {
public:
    CDeskWidget(CLayerWindowCore& window, IDeskWidgetWindow& events, DeskWidgetId id, const wchar_t* name, int width);
    ~CDeskWidget();
    CDeskWidget(const CDeskWidget&) = delete;
    CDeskWidget& operator=(const CDeskWidget&) = delete;

    void SetHost(IWidgetHost* host) { m_host = host; }

    // Show: creates the window when needed and, when it is hidden, places it at the bottom of the window
    // order, lets the window prepare, shows it without activating it and reports the show; a widget shown
    // already is left as it is. Hide: lets the window stop and hides it. The main window hears each change.
    void Show(bool show);
    // Whether the window exists and shows.
    bool IsShown() const;
    // The close button: the registry value, the usage event, then Show(false).
    void Close();

    // The saved transparency, with the slider put at it.
    int RestoreTransparency(CLayerSliderCtrl& slider);
    // A new transparency: shown as "%d%%" on the label and saved.
    void SaveTransparency(int percent, CLayerLabelCtrl& label);

    // The drag lock: a locked widget stays where it is while its controls keep working. Restore reads the
    // saved lock, Set saves it.
    bool RestoreDragLock();
    void SetDragLock(bool locked);
    bool IsDragLocked() const { return m_dragLocked; }

    // From the window's base. Hit tests decide whether a press may drag (not on a control that keeps the mouse);
    // a press starts a drag; each move with the button down moves the window while its corner stays in
    // the work area and it is not locked, saves the place and tells the window (OnWidgetMoved). The first
    // move with the pointer really over the window and the pointer's leaving it tell the window to change its
    // look (OnWidgetHover).
    void OnHitTest(int screenX, int screenY);
    void OnPress(int x, int y);
    void OnMouseMove(UINT flags, int x, int y);
    void OnMouseLeave();
    // Moves and raises (a click activates and raises a window) both end behind the bar or at the bottom.
    void OnPositionChanging(WINDOWPOS* pos);
    // The resolution, the monitors or the work area changed: a shown widget no monitor holds any more goes
    // back to its first place, so it stays reachable. The saved place is kept for when its monitor returns.
    void OnDisplayChange();

private:
    HWND Owner() const;
    // Places are kept in pixels at 96 DPI; the window lies on the screen at its monitor's scale.
    WidgetRect LayerWorkArea() const;
    WidgetPoint LayerCorner() const;
    void MoveTo(WidgetPoint corner, HWND insertAfter, UINT flags);
    void PostState(bool shown);

    CLayerWindowCore& m_window;
    IDeskWidgetWindow& m_events;
    IWidgetHost* m_host = nullptr;
    const DeskWidgetId m_id;
    const wchar_t* const m_name;
    const int m_width;
    bool m_dragEnabled = true;
    bool m_dragLocked = false;
    bool m_hovered = false;
    POINT m_pressPoint{};
    POINT m_lastPoint{};
};
