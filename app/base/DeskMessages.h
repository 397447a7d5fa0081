#pragma once

#include <windows.h>

// Private window messages shared across the program. Any process on the desktop can post them, so
// none carries a pointer: what a message stands for waits in a queue of the window that receives it,
// and a message whose queue is empty does nothing.

// Main window: carry out the oldest forwarded command line.
constexpr UINT WM_DESK_CMDLINE = 0x1401;
// Main window: a widget's visibility changed. wParam is the widget id, lParam non-zero when open; the
// main window believes it only when the widget really is in that state.
constexpr UINT WM_DESK_WIDGET_STATE = 0x1402;
// UI-thread window: run the sent ISimpleBind whose ticket wParam holds; the sender keeps it.
constexpr UINT WM_UITASK_SEND = 0x2400;
// UI-thread window: run the oldest posted ISimpleBind, then destroy it.
constexpr UINT WM_UITASK_POST = 0x2401;
// Every layered window: carry out the oldest repaint request.
constexpr UINT WM_LAYER_UPDATE = 0x3400;
// Every dialog window: draw the frame again if something changed since the last one.
constexpr UINT WM_UI_REPAINT = 0x3401;
// Hardware monitor window: wParam upload, lParam download bytes per second.
constexpr UINT WM_NETWORK_RATES = 0x2932;

enum DeskWidgetId : WPARAM {
    kWidgetWeather = 1,
    kWidgetCalendar = 2,
    kWidgetNews = 3,
    kWidgetTempMonitor = 4,
};
