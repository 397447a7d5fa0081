#pragma once

#include <windows.h>

// Private window messages shared across the program.

// Main window: a forwarded command line. wParam is the WM_COPYDATA wParam, lParam a heap
// CCopyDataRecord that the handler frees.
constexpr UINT WM_DESK_CMDLINE = 0x1401;
// Main window: a widget's visibility changed. wParam is the widget id, lParam non-zero when open.
constexpr UINT WM_DESK_WIDGET_STATE = 0x1402;
// UI-thread window: run an ISimpleBind; the sender keeps it.
constexpr UINT WM_UITASK_SEND = 0x2400;
// UI-thread window: run a posted ISimpleBind, then destroy it.
constexpr UINT WM_UITASK_POST = 0x2401;
// Every layered window: repaint a heap RECT, freed by the handler.
constexpr UINT WM_LAYER_UPDATE = 0x3400;
// Hardware monitor window: wParam upload, lParam download bytes per second.
constexpr UINT WM_NETWORK_RATES = 0x2932;

enum DeskWidgetId : WPARAM {
    kWidgetWeather = 1,
    kWidgetCalendar = 2,
    kWidgetNews = 3,
    kWidgetTempMonitor = 4,
};
