#pragma once

#include <windows.h>

#include <string>

// A windowless control drawn into a layered window. Rectangles are in the parent group's
// coordinates unless a name says "window"; mouse points reach the handlers in that same space.
class ILayerControl {
public:
    virtual void Release() = 0;
    virtual int GetID() = 0;
    virtual void SetID(int id) = 0;
    virtual int GetPage() = 0;
    virtual void SetPage(int page, BOOL redraw) = 0;
    virtual int GetTimerID() = 0;
    virtual int GetType() = 0;
    virtual BOOL IsVisible() = 0;
    virtual void SetVisible(BOOL visible, BOOL redraw) = 0;
    virtual BOOL IsEnabled() = 0;
    virtual void SetEnabled(BOOL enabled, BOOL redraw) = 0;
    virtual void GetWindowRect(RECT* rect) = 0;
    virtual void GetRect(RECT* rect) = 0;
    virtual void GetPos(POINT* point) = 0;
    virtual void SetRect(const RECT& rect, BOOL redraw) = 0;
    virtual void SetBounds(int x, int y, int cx, int cy, BOOL redraw) = 0;
    virtual BOOL IsToolTipEnabled() = 0;
    virtual void EnableToolTip(BOOL enable) = 0;
    virtual std::wstring GetToolTip() = 0;
    virtual void SetToolTip(const std::wstring& text) = 0;
    virtual std::wstring GetText() = 0;
    virtual void SetText(const std::wstring& text, BOOL redraw) = 0;
    virtual COLORREF GetTextColor() = 0;
    virtual void SetTextColor(COLORREF color, BOOL redraw) = 0;
    virtual HCURSOR GetCursor() = 0;
    virtual void SetCursor(HCURSOR cursor) = 0;
    virtual ILayerControl* GetParent() = 0;
    virtual void SetParent(ILayerControl* parent) = 0;
    // x, y in window coordinates.
    virtual BOOL HitTest(int x, int y) = 0;
    // rect in window coordinates, or null for the control's whole window rect.
    virtual void Invalidate(const RECT* rect) = 0;
    virtual void MoveTo(int x, int y, BOOL redraw) = 0;
    virtual void Offset(int dx, int dy, BOOL redraw) = 0;
    // -1 keeps that dimension.
    virtual void Resize(int cx, int cy, BOOL redraw) = 0;
    virtual BOOL IsDragThrough() = 0;
    virtual void SetDragThrough(BOOL dragThrough) = 0;
    virtual BOOL IsInteractive() = 0;
    virtual void SetInteractive(BOOL interactive) = 0;
    virtual void ControlToWindow(RECT* rect) = 0;
    virtual void ControlToWindow(POINT* point) = 0;
    virtual void WindowToControl(RECT* rect) = 0;
    virtual void WindowToControl(POINT* point) = 0;
    virtual void OnCreate(HWND hostWindow) = 0;
    virtual void OnDestroy() = 0;
    virtual void OnSize(int left, int top, int right, int bottom) = 0;
    virtual void OnTimer(UINT id) = 0;
    virtual void Paint(HDC dc) = 0;
    virtual void OnSetCursor(HWND window, UINT hitCode, UINT message, BOOL& handled) = 0;
    virtual void OnMouseMove(UINT flags, int x, int y) = 0;
    virtual void OnMouseHover(UINT flags, int x, int y) = 0;
    virtual void OnMouseLeave() = 0;
    virtual void OnLButtonDown(UINT flags, int x, int y, BOOL& handled) = 0;
    virtual void OnLButtonUp(UINT flags, int x, int y, BOOL& handled) = 0;
    virtual void OnLButtonDblClk(UINT flags, int x, int y, BOOL& handled) = 0;
    virtual void OnRButtonDown(UINT flags, int x, int y, BOOL& handled) = 0;
    virtual void OnRButtonUp(UINT flags, int x, int y, BOOL& handled) = 0;

protected:
    virtual ~ILayerControl() = default;
};
