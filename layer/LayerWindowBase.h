#pragma once

#include <windows.h>

#include "app/base/WindowImpl.h"
#include "layer/LayerWindowCore.h"

// Traits of every widget window: a layered popup.
using CLayerWinTraits = CWinTraits<WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MINIMIZEBOX, WS_EX_LAYERED>;

// A top-level window that draws a retained tree of controls into one 32-bit bitmap and pushes it
// with per-pixel alpha (or, when its traits are not layered, paints it through WM_PAINT). All of
// that is CLayerWindowCore; this template only gives it the window class of T. A concrete window
// overrides the core's hooks: it builds its controls in OnLayerCreate and takes its own messages in
// OnLayerMessage, most simply written as BEGIN_LAYER_MSG_MAP() ... END_MSG_MAP().
template <class T, class TWinTraits = CLayerWinTraits>
class CLayerWindowBase : public CWindowImplT<T, TWinTraits>, public CLayerWindowCore {
    using Window = CWindowImplT<T, TWinTraits>;

public:
    using Window::m_hWnd;
    // The core's forms, which keep the timer registry, win over the plain window's.
    using CLayerWindowCore::KillTimer;
    using CLayerWindowCore::PostMessage;
    using CLayerWindowCore::SetTimer;

    CLayerWindowBase() : CLayerWindowCore((TWinTraits::GetWndExStyle() & WS_EX_LAYERED) != 0) {}

    HWND GetHWND() override { return m_hWnd; }

    // Called by the window procedure of CWindowImplT.
    BOOL ProcessWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return ProcessLayerMessage(msg, wParam, lParam, result);
    }
};

// The message map of a layered window's own messages: the body of its OnLayerMessage hook. Entries are
// those of WindowImpl.h (MESSAGE_HANDLER, the MSG_WM_ crackers); it ends with END_MSG_MAP().
#define BEGIN_LAYER_MSG_MAP()                                                                                          \
public:                                                                                                                \
    BOOL OnLayerMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {                          \
        BOOL bHandled = TRUE;                                                                                          \
        (void)bHandled;
