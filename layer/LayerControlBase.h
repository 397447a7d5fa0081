#pragma once

#include <windows.h>

#include <string>

#include "layer/ILayerControl.h"
#include "layer/ILayerWindow.h"

namespace Gdiplus {
class Font;
}

// Control type codes returned by GetType.
enum LayerControlType : int {
    kLayerTypeRootView = 1,
    kLayerTypeButton = 2,
    kLayerTypeImage = 3,
    kLayerTypeLabel = 4,
    kLayerTypeProgress = 7,
    kLayerTypeGroup = 11,
    kLayerTypeLine = 15,
    kLayerTypeCheckbox = 18,
    kLayerTypeSlider = 19,
};

// The common state and behaviour of every drawn control. A control is created with new, Create()d,
// configured and handed to a group, which owns it from then on.
class CLayerControlBase : public ILayerControl {
public:
    explicit CLayerControlBase(int type) : m_type(type) {}
    ~CLayerControlBase() override = default;
    CLayerControlBase(const CLayerControlBase&) = delete;
    CLayerControlBase& operator=(const CLayerControlBase&) = delete;

    void Release() override;
    int GetID() override { return m_id; }
    void SetID(int id) override { m_id = id; }
    int GetPage() override { return m_page; }
    void SetPage(int page, BOOL redraw) override;
    int GetTimerID() override { return m_timerId; }
    int GetType() override { return m_type; }
    BOOL IsVisible() override { return m_visible; }
    void SetVisible(BOOL visible, BOOL redraw) override;
    BOOL IsEnabled() override { return m_enabled; }
    void SetEnabled(BOOL enabled, BOOL redraw) override;
    void GetWindowRect(RECT* rect) override;
    void GetRect(RECT* rect) override;
    void GetPos(POINT* point) override;
    void SetRect(const RECT& rect, BOOL redraw) override;
    void SetBounds(int x, int y, int cx, int cy, BOOL redraw) override;
    BOOL IsToolTipEnabled() override { return m_toolTipEnabled; }
    void EnableToolTip(BOOL enable) override { m_toolTipEnabled = enable; }
    std::wstring GetToolTip() override { return m_toolTip; }
    void SetToolTip(const std::wstring& text) override { m_toolTip = text; }
    std::wstring GetText() override { return m_text; }
    void SetText(const std::wstring& text, BOOL redraw) override;
    COLORREF GetTextColor() override { return m_textColor; }
    void SetTextColor(COLORREF color, BOOL redraw) override;
    HCURSOR GetCursor() override { return m_cursor; }
    void SetCursor(HCURSOR cursor) override { m_cursor = cursor; }
    ILayerControl* GetParent() override { return m_parent; }
    void SetParent(ILayerControl* parent) override { m_parent = parent; }
    BOOL HitTest(int x, int y) override;
    void Invalidate(const RECT* rect) override;
    void MoveTo(int x, int y, BOOL redraw) override;
    void Offset(int dx, int dy, BOOL redraw) override;
    void Resize(int cx, int cy, BOOL redraw) override;
    BOOL IsDragThrough() override { return m_dragThrough; }
    void SetDragThrough(BOOL dragThrough) override { m_dragThrough = dragThrough; }
    BOOL IsInteractive() override { return m_interactive; }
    void SetInteractive(BOOL interactive) override;
    void ControlToWindow(RECT* rect) override;
    void ControlToWindow(POINT* point) override;
    void WindowToControl(RECT* rect) override;
    void WindowToControl(POINT* point) override;
    void OnCreate(HWND) override {}
    void OnDestroy() override {}
    void OnSize(int, int, int, int) override {}
    void OnTimer(UINT) override {}
    void Paint(HDC) override {}
    void OnSetCursor(HWND, UINT, UINT, BOOL&) override {}
    void OnMouseMove(UINT, int, int) override {}
    void OnMouseHover(UINT, int, int) override {}
    void OnMouseLeave() override {}
    void OnLButtonDown(UINT, int, int, BOOL&) override {}
    void OnLButtonUp(UINT, int, int, BOOL&) override {}
    void OnLButtonDblClk(UINT flags, int x, int y, BOOL& handled) override;
    void OnRButtonDown(UINT, int, int, BOOL&) override {}
    void OnRButtonUp(UINT, int, int, BOOL&) override {}

    // Stores the window and id, calls OnCreate and then places the control; it is not added to
    // any group here.
    BOOL Create(HWND hostWindow, ILayerWindow* window, int id, const RECT& rect, UINT styleFlags);
    BOOL Create(HWND hostWindow, ILayerWindow* window, int id, int x, int y, int cx, int cy, UINT styleFlags);

    Gdiplus::Font* GetFont() const { return m_font; }
    void SetFont(Gdiplus::Font* font) { m_font = font; }
    UINT GetTextFormat() const { return m_textFormat; }
    void SetTextFormat(UINT format) { m_textFormat = format; }
    COLORREF GetShadowColor() const { return m_shadowColor; }
    void SetShadowColor(COLORREF color) { m_shadowColor = color; }
    const RECT& GetTextInsets() const { return m_textInsets; }
    void SetTextInsets(const RECT& insets) { m_textInsets = insets; }
    void SetTimerID(int id) { m_timerId = id; }
    BOOL IsHot() const { return m_hot; }
    void SetHot(BOOL hot) { m_hot = hot; }
    BOOL IsPressed() const { return m_pressed; }
    void SetPressed(BOOL pressed) { m_pressed = pressed; }
    UINT GetStyleFlags() const { return m_styleFlags; }
    HWND GetHostWindow() const { return m_hostWindow; }
    ILayerWindow* GetLayerWindow() const { return m_window; }

protected:
    int m_type;
    int m_id = 0;
    int m_page = -1;
    std::wstring m_toolTip;
    BOOL m_toolTipEnabled = FALSE;
    std::wstring m_text;
    HWND m_hostWindow = nullptr;
    RECT m_rect{};
    UINT m_styleFlags = 0;
    BOOL m_visible = TRUE;
    BOOL m_hot = FALSE;
    BOOL m_pressed = FALSE;
    BOOL m_enabled = TRUE;
    Gdiplus::Font* m_font = nullptr;
    COLORREF m_textColor = 0;
    COLORREF m_shadowColor = static_cast<COLORREF>(-1);
    UINT m_textFormat = 0x1011;
    RECT m_textInsets{};
    ILayerControl* m_parent = nullptr;
    ILayerWindow* m_window = nullptr;
    int m_timerId = -1;
    BOOL m_dragThrough = TRUE;
    BOOL m_interactive = FALSE;
    HCURSOR m_cursor = nullptr;

    // Stores a changed value and, with redraw, repaints the control; an equal value changes nothing.
    template <class V> void Update(V& field, const V& value, BOOL redraw) {
        if (field == value) {
            return;
        }
        field = value;
        if (redraw) {
            Invalidate(nullptr);
        }
    }
    // Reports to the window: WM_COMMAND with the id in the low word; the window tells controls apart by id.
    void PostCommand(LPARAM lParam = 0);
    // Labels, pictures and calendar cells are clicked only when made interactive.
    void PostCommandIfInteractive() {
        if (m_interactive) {
            PostCommand();
        }
    }

private:
    // The parent's top-left corner in window coordinates; (0, 0) without a parent.
    POINT ParentOrigin();
};
