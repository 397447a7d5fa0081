#pragma once

#include <windows.h>

#include <string>

// What a drawn control may ask of the layered window it lives in. Everything but PostMessage is
// for the window's own UI thread.
class ILayerWindow {
public:
    virtual BOOL GetOutlineMode() = 0;
    virtual void SetOutlineMode(BOOL outline) = 0;
    virtual HWND GetHWND() = 0;
    virtual void ShowToolTip(BOOL show, const std::wstring& text) = 0;
    virtual BOOL SetTimer(UINT id, UINT elapse) = 0;
    virtual BOOL KillTimer(UINT id) = 0;
    virtual BOOL PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // Asks for a repaint of rect, in client coordinates (null: the whole window); the window keeps its
    // own copy until the repaint runs.
    virtual void InvalidateRect(const RECT* rect, BOOL erase) = 0;

protected:
    ~ILayerWindow() = default;
};
