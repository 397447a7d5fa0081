#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <set>
#include <string>

#include "app/base/DeskMessages.h"
#include "app/base/MessageFilter.h"
#include "app/base/MessageLoop.h"
#include "app/base/ScopedHandle.h"
#include "app/base/WindowImpl.h"
#include "layer/ILayerWindow.h"
#include "layer/LayerCanvas.h"
#include "layer/LayerControlRootView.h"

// Traits of every widget window: a layered popup.
using CLayerWinTraits = CWinTraits<WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MINIMIZEBOX, WS_EX_LAYERED>;

// A top-level window that draws a retained tree of controls into one 32-bit bitmap and pushes it
// with per-pixel alpha (or, when its traits are not layered, paints it through WM_PAINT). A
// concrete window T builds its controls in OnLayerCreate and chains its own message map after
// this one: BEGIN_MSG_MAP(T) CHAIN_MSG_MAP(CLayerWindowBase<T, Traits>) ... END_MSG_MAP().
template <class T, class TWinTraits = CLayerWinTraits>
class CLayerWindowBase : public CWindowImplT<T, TWinTraits>, public ILayerWindow, public CMessageFilter {
    using Base = CWindowImplT<T, TWinTraits>;

public:
    using Base::m_hWnd;

    CLayerWindowBase() : m_rootView(std::make_unique<CLayerControlRootView>()) {}
    ~CLayerWindowBase() override = default;

    // ILayerWindow
    BOOL GetOutlineMode() override { return m_outlineMode; }
    void SetOutlineMode(BOOL outline) override { m_outlineMode = outline; }
    HWND GetHWND() override { return m_hWnd; }
    void ShowToolTip(BOOL show, const std::wstring& text) override;
    BOOL SetTimer(UINT id, UINT elapse) override;
    BOOL KillTimer(UINT id) override;
    BOOL PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam);
    }
    LRESULT SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    void InvalidateRect(RECT* rect, BOOL erase) override;

    // CMessageFilter: Alt+F4 never closes a window built on this base.
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->hwnd == m_hWnd && msg->message == WM_SYSKEYDOWN && msg->wParam == VK_F4) {
            return TRUE;
        }
        return PreTranslateLayerMessage(msg);
    }

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
    virtual void TrackMouseLeave() {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::_TrackMouseEvent(&tme);
    }

    CLayerControlRootView* GetRootView() { return m_rootView.get(); }
    void SetDragByBackground(BOOL drag) { m_dragByBackground = drag; }

    // The one call that puts a frame on the screen; only the dirty part (null: all) changed since the last
    // push, so only that part is copied to the screen. A window type may hide it to wrap the push.
    BOOL PushFrame(HDC screen, POINT* dest, SIZE* size, HDC source, BLENDFUNCTION* blend, const RECT* dirty) {
        POINT sourceOrigin{0, 0};
        UPDATELAYEREDWINDOWINFO info{sizeof(info),  screen, dest,  size,      source,
                                     &sourceOrigin, 0,      blend, ULW_ALPHA, dirty};
        return ::UpdateLayeredWindowIndirect(m_hWnd, &info);
    }

    HBITMAP GetWindowBitmap() const { return m_windowBitmap.Get(); }
    HBITMAP GetBackgroundBitmap() const { return m_backgroundBitmap.Get(); }
    HWND GetToolTipWindow() const { return m_toolTip.Get(); }
    const std::wstring& GetToolTipText() const { return m_toolTipText; }

    BEGIN_MSG_MAP(CLayerWindowBase)
    MSG_WM_CREATE(HandleCreate)
    MSG_WM_DESTROY(HandleDestroy)
    MSG_WM_SIZE(HandleSize)
    MSG_WM_TIMER(HandleTimer)
    MSG_WM_NCHITTEST(HandleNcHitTest)
    MSG_WM_SETCURSOR(HandleSetCursor)
    MSG_WM_ERASEBKGND(HandleEraseBackground)
    MSG_WM_PAINT(HandlePaint)
    MSG_WM_PRINTCLIENT(HandlePrintClient)
    MESSAGE_HANDLER(WM_LAYER_UPDATE, HandleLayerUpdate)
    MESSAGE_RANGE_HANDLER(WM_MOUSEFIRST, 0x020E, RelayToToolTip)
    MSG_WM_MOUSEMOVE(HandleMouseMove)
    MSG_WM_MOUSEHOVER(HandleMouseHover)
    MSG_WM_MOUSELEAVE(HandleMouseLeave)
    MSG_WM_LBUTTONDOWN(HandleLButtonDown)
    MSG_WM_LBUTTONUP(HandleLButtonUp)
    MSG_WM_LBUTTONDBLCLK(HandleLButtonDblClk)
    MSG_WM_RBUTTONDOWN(HandleRButtonDown)
    MSG_WM_RBUTTONUP(HandleRButtonUp)
    END_MSG_MAP()

protected:
    // Constant alpha of every push: 255 shows the bitmap's own alpha; takes effect at the next repaint.
    UINT m_alpha = 255;
    // The opacity of the last frame on the screen; none before the first.
    UINT m_pushedAlpha = static_cast<UINT>(-1);

private:
    LRESULT HandleCreate(const CREATESTRUCTW*);
    void HandleDestroy();
    void HandleSize(UINT, int cx, int cy) {
        m_rootView->OnSize(0, 0, cx, cy);
        OnLayerSize(RECT{0, 0, cx, cy});
    }
    void HandleTimer(UINT_PTR id) {
        m_rootView->OnTimer(static_cast<UINT>(id));
        OnLayerTimer(static_cast<UINT>(id));
    }
    LRESULT HandleNcHitTest(POINT screen);
    BOOL HandleSetCursor(HWND window, UINT hitCode, UINT message) {
        BOOL handled = FALSE;
        m_rootView->OnSetCursor(window, hitCode, message, handled);
        if (!handled) {
            this->SetMsgHandled(FALSE);
        }
        return TRUE;
    }
    BOOL HandleEraseBackground(HDC) { return TRUE; }
    void HandlePaint(HDC dc);
    void HandlePrintClient(HDC dc, UINT) { HandlePaint(dc); }
    LRESULT HandleLayerUpdate(UINT, WPARAM, LPARAM lParam, BOOL&);
    LRESULT RelayToToolTip(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    void HandleMouseMove(UINT flags, POINT point) {
        m_rootView->OnMouseMove(flags, point.x, point.y);
        OnLayerMouseMove(flags, point.x, point.y);
        if (m_trackingIdle) {
            TrackMouseLeave();
            m_trackingIdle = FALSE;
        }
    }
    void HandleMouseHover(UINT flags, POINT point) {
        m_rootView->OnMouseHover(flags, point.x, point.y);
        OnLayerMouseHover(flags, point.x, point.y);
    }
    void HandleMouseLeave() {
        if (m_trackingIdle) {
            return;
        }
        m_rootView->OnMouseLeave();
        OnLayerMouseLeave();
        m_trackingIdle = TRUE;
    }
    void HandleLButtonDown(UINT flags, POINT point) {
        ::SetCapture(m_hWnd);
        BOOL handled = TRUE;
        m_rootView->OnLButtonDown(flags, point.x, point.y, handled);
        OnLayerLButtonDown(flags, point.x, point.y);
    }
    void HandleLButtonUp(UINT flags, POINT point) {
        BOOL handled = TRUE;
        m_rootView->OnLButtonUp(flags, point.x, point.y, handled);
        OnLayerLButtonUp(flags, point.x, point.y);
        ::ReleaseCapture();
    }
    void HandleLButtonDblClk(UINT flags, POINT point) {
        BOOL handled = TRUE;
        m_rootView->OnLButtonDblClk(flags, point.x, point.y, handled);
        OnLayerLButtonDblClk(flags, point.x, point.y);
    }
    void HandleRButtonDown(UINT flags, POINT point) {
        BOOL handled = TRUE;
        m_rootView->OnRButtonDown(flags, point.x, point.y, handled);
        OnLayerRButtonDown(flags, point.x, point.y);
    }
    void HandleRButtonUp(UINT flags, POINT point) {
        BOOL handled = TRUE;
        m_rootView->OnRButtonUp(flags, point.x, point.y, handled);
        OnLayerRButtonUp(flags, point.x, point.y);
    }

    RECT ClientRect() const {
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        return client;
    }
    bool EnsureWindowBitmap(int cx, int cy);
    void DrawFrame(HDC dc, const RECT& dirty);
    void LayeredUpdate(const RECT* rect);
    void DeleteTool();

    BOOL m_outlineMode = FALSE;
    CBitmapHandle m_windowBitmap;
    CBitmapHandle m_backgroundBitmap;
    SIZE m_backgroundSize{};
    BOOL m_backgroundDirty = TRUE;
    BOOL m_trackingIdle = TRUE;
    std::unique_ptr<CLayerControlRootView> m_rootView;
    std::set<UINT> m_timers;
    CWindowHandle m_toolTip;
    std::wstring m_toolTipText;
    BOOL m_dragByBackground = TRUE;
};

template <class T, class TWinTraits> LRESULT CLayerWindowBase<T, TWinTraits>::HandleCreate(const CREATESTRUCTW*) {
    RECT client = ClientRect();
    m_rootView->Create(m_hWnd, this, -1, client, 0);
    OnLayerCreate();
    if (CMessageLoop* loop = CWindowModule::GetMessageLoop()) {
        loop->AddMessageFilter(this);
    }
    InvalidateRect(nullptr, TRUE);
    return 0;
}

template <class T, class TWinTraits> void CLayerWindowBase<T, TWinTraits>::HandleDestroy() {
    if (CMessageLoop* loop = CWindowModule::GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
    }
    if (!m_timers.empty() && ::IsWindow(m_hWnd)) {
        for (UINT id : m_timers) {
            ::KillTimer(m_hWnd, id);
        }
    }
    m_timers.clear();
    m_toolTip.Reset();
    m_toolTipText.clear();
    m_trackingIdle = TRUE;
    OnLayerDestroy();
    m_rootView->OnDestroy();
}

template <class T, class TWinTraits> LRESULT CLayerWindowBase<T, TWinTraits>::HandleNcHitTest(POINT screen) {
    LRESULT code = ::DefWindowProcW(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    OnLayerNcHitTest(screen.x, screen.y);
    if (code == HTCLIENT && m_dragByBackground) {
        POINT client = screen;
        ::ScreenToClient(m_hWnd, &client);
        ILayerControl* control = m_rootView->ChildFromPoint(client.x, client.y);
        if (!control || control->IsDragThrough()) {
            return HTCAPTION;
        }
    }
    return code;
}

template <class T, class TWinTraits> bool CLayerWindowBase<T, TWinTraits>::EnsureWindowBitmap(int cx, int cy) {
    if (m_windowBitmap) {
        BITMAP info{};
        if (!::GetObjectW(m_windowBitmap.Get(), sizeof(info), &info) || info.bmWidth != cx || info.bmHeight != cy) {
            m_windowBitmap.Reset();
        }
    }
    if (!m_windowBitmap && cx > 0 && cy > 0) {
        BITMAPINFO bitmapInfo{};
        bitmapInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bitmapInfo.bmiHeader.biWidth = cx;
        bitmapInfo.bmiHeader.biHeight = cy;
        bitmapInfo.bmiHeader.biPlanes = 1;
        bitmapInfo.bmiHeader.biBitCount = 32;
        bitmapInfo.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_windowBitmap.Reset(::CreateDIBSection(nullptr, &bitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    return m_windowBitmap.IsValid();
}

template <class T, class TWinTraits> void CLayerWindowBase<T, TWinTraits>::DrawFrame(HDC dc, const RECT& dirty) {
    RECT client = ClientRect();
    int cx = client.right - client.left;
    int cy = client.bottom - client.top;
    if (m_backgroundBitmap && (m_backgroundSize.cx != cx || m_backgroundSize.cy != cy)) {
        m_backgroundBitmap.Reset();
        m_backgroundDirty = TRUE;
    }
    if (!m_backgroundBitmap && cx > 0 && cy > 0) {
        m_backgroundBitmap.Reset(::CreateCompatibleBitmap(dc, cx, cy));
        m_backgroundSize = SIZE{cx, cy};
        m_backgroundDirty = TRUE;
        if (m_backgroundBitmap) {
            // A new compatible bitmap's content is undefined; the background starts fully transparent.
            CMemoryDC clearDC(::CreateCompatibleDC(dc));
            CSelectObject select(clearDC.Get(), m_backgroundBitmap.Get());
            ::PatBlt(clearDC.Get(), 0, 0, cx, cy, BLACKNESS);
        }
    }
    if (!::IsRectEmpty(&dirty) && m_backgroundBitmap) {
        CMemoryDC backgroundDC(::CreateCompatibleDC(dc));
        if (backgroundDC) {
            CSelectObject select(backgroundDC.Get(), m_backgroundBitmap.Get());
            if (m_backgroundDirty) {
                int saved = ::SaveDC(backgroundDC.Get());
                DrawBackground(backgroundDC.Get(), client);
                ::RestoreDC(backgroundDC.Get(), saved);
                m_backgroundDirty = FALSE;
            }
            ::BitBlt(dc, 0, 0, cx, cy, backgroundDC.Get(), 0, 0, SRCCOPY);
        }
    }
    // The frame is drawn straight into the window bitmap's bits; the background above has its own DC.
    CLayerCanvas canvas(dc, m_windowBitmap.Get());
    DrawUnderlay(dc, client.left, client.top);
    DrawControls(dc, dirty);
    DrawOverlay(dc, dirty);
}

template <class T, class TWinTraits> void CLayerWindowBase<T, TWinTraits>::LayeredUpdate(const RECT* rect) {
    CWindowDC screen(nullptr);
    if (!screen) {
        return;
    }
    RECT client = ClientRect();
    if (!EnsureWindowBitmap(client.right - client.left, client.bottom - client.top)) {
        return;
    }
    CMemoryDC memoryDC(::CreateCompatibleDC(screen.Get()));
    if (!memoryDC) {
        return;
    }
    CSelectObject select(memoryDC.Get(), m_windowBitmap.Get());
    if (rect) {
        CRegionHandle clip(::CreateRectRgnIndirect(rect));
        ::SelectClipRgn(memoryDC.Get(), clip.Get());
    }
    DrawFrame(memoryDC.Get(), rect ? *rect : client);
    ::SelectClipRgn(memoryDC.Get(), nullptr);

    RECT windowRect{};
    ::GetWindowRect(m_hWnd, &windowRect);
    POINT dest{windowRect.left, windowRect.top};
    SIZE size{windowRect.right - windowRect.left, windowRect.bottom - windowRect.top};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(m_alpha), AC_SRC_ALPHA};
    // A new opacity applies to the whole window, so that frame goes out whole.
    const RECT* dirty = m_pushedAlpha == m_alpha ? rect : nullptr;
    if (static_cast<T*>(this)->PushFrame(screen.Get(), &dest, &size, memoryDC.Get(), &blend, dirty)) {
        m_pushedAlpha = m_alpha;
    }
}

template <class T, class TWinTraits> void CLayerWindowBase<T, TWinTraits>::HandlePaint(HDC given) {
    PAINTSTRUCT ps{};
    HDC target = given;
    RECT dirty = ClientRect();
    if (!target) {
        target = ::BeginPaint(m_hWnd, &ps);
        dirty = ps.rcPaint;
    }
    RECT client = ClientRect();
    int cx = client.right - client.left;
    int cy = client.bottom - client.top;
    if (target && EnsureWindowBitmap(cx, cy)) {
        CMemoryDC memoryDC(::CreateCompatibleDC(target));
        if (memoryDC) {
            CSelectObject select(memoryDC.Get(), m_windowBitmap.Get());
            DrawFrame(memoryDC.Get(), dirty);
            ::BitBlt(target, 0, 0, cx, cy, memoryDC.Get(), 0, 0, SRCCOPY);
        }
    }
    if (!given) {
        ::EndPaint(m_hWnd, &ps);
    }
}

template <class T, class TWinTraits>
LRESULT CLayerWindowBase<T, TWinTraits>::HandleLayerUpdate(UINT, WPARAM, LPARAM lParam, BOOL&) {
    std::unique_ptr<RECT> rect(reinterpret_cast<RECT*>(lParam));
    if (TWinTraits::GetWndExStyle() & WS_EX_LAYERED) {
        LayeredUpdate(rect.get());
    } else {
        ::InvalidateRect(m_hWnd, rect.get(), FALSE);
    }
    return 0;
}

template <class T, class TWinTraits> void CLayerWindowBase<T, TWinTraits>::InvalidateRect(RECT* rect, BOOL erase) {
    m_backgroundDirty = erase;
    if (!::PostMessageW(m_hWnd, WM_LAYER_UPDATE, 0, reinterpret_cast<LPARAM>(rect))) {
        delete rect;
    }
}

template <class T, class TWinTraits>
LRESULT CLayerWindowBase<T, TWinTraits>::RelayToToolTip(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (m_toolTip) {
        MSG relayed{m_hWnd, msg, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
        DWORD pos = ::GetMessagePos();
        relayed.pt = POINT{DESK_X(pos), DESK_Y(pos)};
        ::SendMessageW(m_toolTip.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    handled = FALSE;
    return 0;
}

template <class T, class TWinTraits> void CLayerWindowBase<T, TWinTraits>::DeleteTool() {
    TOOLINFOW info{};
    info.cbSize = LOBYTE(LOWORD(::GetVersion())) >= 6 ? sizeof(TOOLINFOW) : TTTOOLINFOW_V2_SIZE;
    info.hwnd = m_hWnd;
    info.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    ::SendMessageW(m_toolTip.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

template <class T, class TWinTraits>
void CLayerWindowBase<T, TWinTraits>::ShowToolTip(BOOL show, const std::wstring& text) {
    // The root hides the tip on every change of hovered control; a window whose controls have no tips
    // never needs the tooltip window at all (and under Wine a window that made one stalls when destroyed).
    if (!show && !m_toolTip) {
        m_toolTipText.clear();
        return;
    }
    if (!m_toolTip) {
        m_toolTip.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                          CWindowModule::Instance(), nullptr));
        if (!m_toolTip) {
            return;
        }
        ::SendMessageW(m_toolTip.Get(), TTM_SETMAXTIPWIDTH, 0, 300);
        ::SendMessageW(m_toolTip.Get(), TTM_ACTIVATE, TRUE, 0);
    }
    if (!show) {
        DeleteTool();
        m_toolTipText.clear();
        return;
    }
    if (text == m_toolTipText) {
        return;
    }
    m_toolTipText = text;
    DeleteTool();
    TOOLINFOW info{};
    info.cbSize = LOBYTE(LOWORD(::GetVersion())) >= 6 ? sizeof(TOOLINFOW) : TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = m_hWnd;
    info.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    info.lpszText = const_cast<wchar_t*>(m_toolTipText.c_str());
    ::SendMessageW(m_toolTip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

template <class T, class TWinTraits> BOOL CLayerWindowBase<T, TWinTraits>::SetTimer(UINT id, UINT elapse) {
    if (m_timers.count(id)) {
        return TRUE;
    }
    if (!m_hWnd || !::IsWindow(m_hWnd) || !::SetTimer(m_hWnd, id, elapse, nullptr)) {
        return FALSE;
    }
    m_timers.insert(id);
    return TRUE;
}

template <class T, class TWinTraits> BOOL CLayerWindowBase<T, TWinTraits>::KillTimer(UINT id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end()) {
        return FALSE;
    }
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::KillTimer(m_hWnd, id);
    }
    m_timers.erase(it);
    return TRUE;
}
