#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "app/base/DpiScale.h"
#include "app/base/MessageFilter.h"
#include "app/base/ScopedHandle.h"
#include "layer/ILayerWindow.h"
#include "layer/LayerControlRootView.h"

// Everything a layered window does that does not depend on its concrete type, compiled once: the
// off-screen bitmaps and the frame push, the relay of mouse messages to the control tree, dragging,
// tooltips and timers. CLayerWindowBase<T, Traits> adds only the window handle and the class.
//
// A concrete window extends it in one way: by overriding the virtual hooks below. Its own messages
// (commands from controls, private messages) arrive at OnLayerMessage once the base has left them
// unhandled; BEGIN_LAYER_MSG_MAP writes that hook as a message map.
class CDeskWidget;

class CLayerWindowCore : public ILayerWindow, public CMessageFilter {
public:
    CLayerWindowCore(const CLayerWindowCore&) = delete;
    CLayerWindowCore& operator=(const CLayerWindowCore&) = delete;
    virtual ~CLayerWindowCore();

    // ILayerWindow; GetHWND comes from the window class.
    BOOL GetOutlineMode() override { return m_outlineMode; }
    void SetOutlineMode(BOOL outline) override { m_outlineMode = outline; }
    void ShowToolTip(BOOL show, const std::wstring& text) override;
    BOOL SetTimer(UINT id, UINT elapse) override;
    BOOL KillTimer(UINT id) override;
    BOOL PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void InvalidateRect(const RECT* rect, BOOL erase) override;

    // CMessageFilter: Alt+F4 never closes a window built on this base.
    BOOL PreTranslateMessage(MSG* msg) override;

    // Hooks for the concrete window. The base calls the root view first and the hook second,
    // except on WM_DESTROY, where the hook runs while the controls still exist.
    virtual void OnLayerCreate() {}
    virtual void OnLayerDestroy() {}
    virtual void OnLayerSize(const RECT&) {}
    virtual void OnLayerTimer(UINT) {}
    virtual BOOL PreTranslateLayerMessage(MSG*) { return FALSE; }
    virtual void OnLayerMouseMove(UINT, int, int) {}
    virtual void OnLayerMouseHover(UINT, int, int) {}
    virtual void OnLayerMouseLeave() {}
    virtual void OnLayerLButtonDown(UINT, int, int) {}
    virtual void OnLayerLButtonUp(UINT, int, int) {}
    virtual void OnLayerLButtonDblClk(UINT, int, int) {}
    virtual void OnLayerRButtonDown(UINT, int, int) {}
    virtual void OnLayerRButtonUp(UINT, int, int) {}
    // Screen coordinates; a notification only.
    virtual void OnLayerNcHitTest(int, int) {}
    // Runs only while the cached background is dirty; the default leaves it fully transparent.
    virtual void DrawBackground(HDC, const RECT&) {}
    virtual void DrawUnderlay(HDC, int, int) {}
    virtual void DrawControls(HDC dc, const RECT&) { m_rootView->Paint(dc); }
    virtual void DrawOverlay(HDC, const RECT&) {}
    virtual void TrackMouseLeave();
    // The one call that puts a frame on the screen; only the dirty part (null: all) changed since the
    // last push, so only that part is copied to the screen.
    virtual BOOL PushFrame(HDC screen, POINT* dest, SIZE* size, HDC source, BLENDFUNCTION* blend, const RECT* dirty);
    // A message the base left unhandled; true when the window handled it, with its result.
    virtual BOOL OnLayerMessage(UINT, WPARAM, LPARAM, LRESULT&) { return FALSE; }

    // Whether the pointer is over this window itself rather than over another window in front of it.
    BOOL IsPointerOver();

    // A layered window is laid out, hit-tested and placed in pixels at 96 DPI and drawn at its monitor's
    // scale: its window and bitmap are that many times larger, and mouse points are mapped back before any
    // control or hook sees them. These convert lengths between the two.
    int GetDpi() const { return m_dpi; }
    int ToScreen(int length) const;
    int ToLayer(int length) const;
    // The 96-DPI pixel a client point lies in, as the dialog toolkit maps the mouse.
    POINT ToLayerPoint(POINT client) const;
    // Sizes the window to cx x cy pixels at 96 DPI.
    void SetLayerSize(int cx, int cy);

    CLayerControlRootView* GetRootView() { return m_rootView.get(); }
    void SetDragByBackground(BOOL drag) { m_dragByBackground = drag; }
    // The desktop widget this window is, which hears the hit tests, presses, moves, leaves and position
    // changes before the window's own hooks; null for a window that is not a widget.
    void AttachWidget(CDeskWidget* widget) { m_widget = widget; }

    // Frames put on the screen since the window was made.
    unsigned GetPushedFrames() const { return m_pushedFrames; }
    HBITMAP GetWindowBitmap() const { return m_windowBitmap.Get(); }
    HBITMAP GetBackgroundBitmap() const { return m_backgroundBitmap.Get(); }
    HWND GetToolTipWindow() const { return m_toolTip.Get(); }
    const std::wstring& GetToolTipText() const { return m_toolTipText; }

    // The window procedure's work: the base's own messages, then OnLayerMessage. False sends the
    // message on to default processing.
    BOOL ProcessLayerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // layered: the window class's traits carry WS_EX_LAYERED, so frames go out with UpdateLayeredWindow;
    // otherwise they are painted through WM_PAINT.
    explicit CLayerWindowCore(bool layered);

    // Constant alpha of every push: 255 shows the bitmap's own alpha; takes effect at the next repaint.
    UINT m_alpha = 255;
    // The opacity of the last frame on the screen; none before the first.
    UINT m_pushedAlpha = static_cast<UINT>(-1);

private:
    void HandleCreate();
    void HandleDestroy();
    LRESULT HandleNcHitTest(POINT screen);
    void HandlePaint(HDC dc);
    void HandleLayerUpdate();
    void RelayToToolTip(UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL HandleMouse(UINT msg, UINT flags, POINT point);
    // Whether the system will post this window a leave; ending the tracking posts one.
    bool LeaveTracked();
    void EndMouseTracking();

    RECT ClientRect();
    // The client area in the controls' terms (pixels at 96 DPI).
    RECT LayerClientRect();
    // A rectangle of the controls' terms on the bitmap, grown to whole pixels.
    RECT ToScreenRect(const RECT& rect) const;
    // Draws with the DC's world scaled from the controls' terms to the bitmap's.
    void ScaleDC(HDC dc) const;
    void HandleDpiChanged(UINT dpi, const RECT* suggested);
    bool EnsureWindowBitmap(int cx, int cy);
    void DrawFrame(HDC dc, const RECT& dirty);
    void LayeredUpdate(const RECT* rect);
    void DeleteTool();

    const bool m_layered;
    int m_dpi = kBaseDpi;
    BOOL m_outlineMode = FALSE;
    CBitmapHandle m_windowBitmap;
    const void* m_windowBits = nullptr;
    // What the last push showed, so that a repaint that changed no pixel is not pushed again; forgotten when the
    // window hides, as its next showing needs a frame.
    std::optional<uint64_t> m_pushedDigest;
    unsigned m_pushedFrames = 0;
    CBitmapHandle m_backgroundBitmap;
    SIZE m_backgroundSize{};
    BOOL m_backgroundDirty = TRUE;
    BOOL m_trackingIdle = TRUE;
    std::unique_ptr<CLayerControlRootView> m_rootView;
    std::set<UINT> m_timers;
    CWindowHandle m_toolTip;
    std::wstring m_toolTipText;
    BOOL m_dragByBackground = TRUE;
    CDeskWidget* m_widget = nullptr;
    // Repaint requests in order (none: the whole window). Another process can post WM_LAYER_UPDATE
    // too, so the message carries nothing and only runs the next request; each request is its own frame.
    std::deque<std::optional<RECT>> m_updates;
};
