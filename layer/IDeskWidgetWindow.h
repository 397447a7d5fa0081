#pragma once

#include <windows.h>

// What the widget shape (CDeskWidget) asks of the window it serves, around its show and hide.
class IDeskWidgetWindow {
public:
    // Creates the window, owned by owner, unless it exists; false when it cannot be created.
    virtual bool CreateWidgetWindow(HWND owner) = 0;
    // The hidden window has been placed and is about to be shown: fetch data, start timers.
    virtual void OnWidgetShowing() = 0;
    // The window is about to be hidden: stop timers.
    virtual void OnWidgetHiding() = 0;
    // The pointer came over the window (true) or left it: a widget that looks different in use switches.
    virtual void OnWidgetHover(bool) {}
    // A drag moved the window: what it keeps attached to itself follows.
    virtual void OnWidgetMoved() {}

protected:
    ~IDeskWidgetWindow() = default;
};
