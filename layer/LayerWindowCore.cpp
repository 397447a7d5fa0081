#include "layer/LayerWindowCore.h"

#include <commctrl.h>

#include <cmath>

#include "app/base/DeskMessages.h"
#include "app/base/MessageLoop.h"
#include "app/base/WindowImpl.h"
#include "layer/DeskWidget.h"
#include "layer/LayerCanvas.h"

namespace {

// The DPI of the monitor the window is on; the system's on systems that know only one.
int WindowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi) {
        if (UINT dpi = getDpi(hwnd)) {
            return static_cast<int>(dpi);
        }
    }
    CWindowDC screen(nullptr);
    return screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSX) : kBaseDpi;
}

UINT ToolInfoSize() {
    return LOBYTE(LOWORD(::GetVersion())) >= 6 ? sizeof(TOOLINFOW) : TTTOOLINFOW_V2_SIZE;
}

// A digest of a frame's size and pixels (FNV-1a over 64-bit words): equal digests are taken as equal frames.
uint64_t FrameDigest(const void* bits, int cx, int cy) {
    uint64_t digest = 0xCBF29CE484222325ull;
    const auto mix = [&digest](uint64_t word) { digest = (digest ^ word) * 0x100000001B3ull; };
    mix(static_cast<uint64_t>(cx) << 32 | static_cast<uint32_t>(cy));
    const auto* pixels = static_cast<const uint32_t*>(bits);
    const size_t count = static_cast<size_t>(cx) * static_cast<size_t>(cy);
    for (size_t i = 0; i + 1 < count; i += 2) {
        mix(static_cast<uint64_t>(pixels[i]) << 32 | pixels[i + 1]);
    }
    if (count % 2) {
        mix(pixels[count - 1]);
    }
    return digest;
}

} // namespace

CLayerWindowCore::CLayerWindowCore(bool layered)
    : m_layered(layered), m_rootView(std::make_unique<CLayerControlRootView>()) {}

CLayerWindowCore::~CLayerWindowCore() = default;

BOOL CLayerWindowCore::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(GetHWND(), msg, wParam, lParam);
}

LRESULT CLayerWindowCore::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(GetHWND(), msg, wParam, lParam);
}

BOOL CLayerWindowCore::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == GetHWND() && msg->message == WM_SYSKEYDOWN && msg->wParam == VK_F4) {
        return TRUE;
    }
    return PreTranslateLayerMessage(msg);
}

void CLayerWindowCore::TrackMouseLeave() {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, GetHWND(), HOVER_DEFAULT};
    ::_TrackMouseEvent(&tme);
}

BOOL CLayerWindowCore::IsPointerOver() {
    POINT cursor{};
    return ::GetCursorPos(&cursor) && ::WindowFromPoint(cursor) == GetHWND();
}

bool CLayerWindowCore::LeaveTracked() {
    TRACKMOUSEEVENT query{sizeof(query), TME_QUERY, nullptr, 0};
    return ::_TrackMouseEvent(&query) && query.hwndTrack == GetHWND() && (query.dwFlags & TME_LEAVE);
}

void CLayerWindowCore::EndMouseTracking() {
    TRACKMOUSEEVENT cancel{sizeof(cancel), TME_CANCEL | TME_HOVER | TME_LEAVE, GetHWND(), 0};
    ::_TrackMouseEvent(&cancel);
    ::PostMessageW(GetHWND(), WM_MOUSELEAVE, 0, 0);
}

BOOL CLayerWindowCore::PushFrame(HDC screen, POINT* dest, SIZE* size, HDC source, BLENDFUNCTION* blend,
                                 const RECT* dirty) {
    POINT sourceOrigin{0, 0};
    UPDATELAYEREDWINDOWINFO info{sizeof(info), screen, dest, size, source, &sourceOrigin, 0, blend, ULW_ALPHA, dirty};
    return ::UpdateLayeredWindowIndirect(GetHWND(), &info);
}

BOOL CLayerWindowCore::ProcessLayerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_CREATE:
        HandleCreate();
        return TRUE;
    case WM_DESTROY:
        HandleDestroy();
        return TRUE;
    case WM_SIZE: {
        const RECT layer{0, 0, ToLayer(LOWORD(lParam)), ToLayer(HIWORD(lParam))};
        m_rootView->OnSize(0, 0, layer.right, layer.bottom);
        OnLayerSize(layer);
        return TRUE;
    }
    case WM_DPICHANGED:
        HandleDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:
        // Also default processing and the window's own map: this only keeps the widget reachable.
        if (m_widget && (msg == WM_DISPLAYCHANGE || wParam == SPI_SETWORKAREA)) {
            m_widget->OnDisplayChange();
        }
        break;
    case WM_TIMER:
        m_rootView->OnTimer(static_cast<UINT>(wParam));
        OnLayerTimer(static_cast<UINT>(wParam));
        return TRUE;
    case WM_NCHITTEST:
        result = HandleNcHitTest(POINT{DESK_X(lParam), DESK_Y(lParam)});
        return TRUE;
    case WM_SETCURSOR: {
        BOOL handled = FALSE;
        m_rootView->OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam), handled);
        if (handled) {
            result = TRUE;
            return TRUE;
        }
        break;
    }
    case WM_WINDOWPOSCHANGING:
        if (m_widget) {
            m_widget->OnPositionChanging(reinterpret_cast<WINDOWPOS*>(lParam));
            result = 0;
            return TRUE;
        }
        break;
    case WM_WINDOWPOSCHANGED:
        if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) {
            m_pushedDigest.reset();
        }
        break;
    case WM_ERASEBKGND:
        result = 1;
        return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        HandlePaint(reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_LAYER_UPDATE:
        HandleLayerUpdate();
        return TRUE;
    default:
        if (msg >= WM_MOUSEFIRST && msg <= 0x020E) {
            RelayToToolTip(msg, wParam, lParam);
        }
        if (HandleMouse(msg, static_cast<UINT>(wParam), POINT{DESK_X(lParam), DESK_Y(lParam)})) {
            return TRUE;
        }
        break;
    }
    return OnLayerMessage(msg, wParam, lParam, result);
}

BOOL CLayerWindowCore::HandleMouse(UINT msg, UINT flags, POINT screenPoint) {
    BOOL handled = TRUE;
    // The widget shape works on the screen; the controls and hooks in their own terms.
    const POINT point = ToLayerPoint(screenPoint);
    switch (msg) {
    case WM_MOUSEMOVE:
        m_rootView->OnMouseMove(flags, point.x, point.y);
        if (m_widget) {
            m_widget->OnMouseMove(flags, screenPoint.x, screenPoint.y);
        }
        OnLayerMouseMove(flags, point.x, point.y);
        if (m_trackingIdle) {
            TrackMouseLeave();
            m_trackingIdle = FALSE;
            // Windows posts the leave at once when the pointer is not over the window (a move under capture,
            // or one made up as a window appears under a still pointer); Wine then tracks nothing and no leave
            // would ever come. Either way the leave is on its way.
            if (!LeaveTracked()) {
                ::PostMessageW(GetHWND(), WM_MOUSELEAVE, 0, 0);
            }
        }
        return TRUE;
    case WM_MOUSEHOVER:
        // Wine looks for the pointer only inside the tracked window, so a window of another program over
        // this one keeps the tracking, and its polling timer, alive until the pointer leaves the whole
        // rectangle. Each rest of the pointer is checked (the hover is asked for again), and one over
        // another window ends the tracking.
        if (!IsPointerOver()) {
            EndMouseTracking();
            return TRUE;
        }
        m_rootView->OnMouseHover(flags, point.x, point.y);
        OnLayerMouseHover(flags, point.x, point.y);
        TrackMouseLeave();
        return TRUE;
    case WM_MOUSELEAVE:
        if (!m_trackingIdle) {
            m_rootView->OnMouseLeave();
            if (m_widget) {
                m_widget->OnMouseLeave();
            }
            OnLayerMouseLeave();
            m_trackingIdle = TRUE;
        }
        return TRUE;
    case WM_LBUTTONDOWN:
        ::SetCapture(GetHWND());
        m_rootView->OnLButtonDown(flags, point.x, point.y, handled);
        if (m_widget) {
            m_widget->OnPress(screenPoint.x, screenPoint.y);
        }
        OnLayerLButtonDown(flags, point.x, point.y);
        return TRUE;
    case WM_LBUTTONUP:
        m_rootView->OnLButtonUp(flags, point.x, point.y, handled);
        OnLayerLButtonUp(flags, point.x, point.y);
        ::ReleaseCapture();
        return TRUE;
    case WM_LBUTTONDBLCLK:
        m_rootView->OnLButtonDblClk(flags, point.x, point.y, handled);
        OnLayerLButtonDblClk(flags, point.x, point.y);
        return TRUE;
    case WM_RBUTTONDOWN:
        m_rootView->OnRButtonDown(flags, point.x, point.y, handled);
        OnLayerRButtonDown(flags, point.x, point.y);
        return TRUE;
    case WM_RBUTTONUP:
        m_rootView->OnRButtonUp(flags, point.x, point.y, handled);
        OnLayerRButtonUp(flags, point.x, point.y);
        return TRUE;
    default:
        return FALSE;
    }
}

RECT CLayerWindowCore::ClientRect() {
    RECT client{};
    ::GetClientRect(GetHWND(), &client);
    return client;
}

RECT CLayerWindowCore::LayerClientRect() {
    const RECT client = ClientRect();
    return RECT{0, 0, ToLayer(client.right - client.left), ToLayer(client.bottom - client.top)};
}

int CLayerWindowCore::ToScreen(int length) const {
    return ScaleToDpi(length, m_dpi);
}

int CLayerWindowCore::ToLayer(int length) const {
    return ScaleFromDpi(length, m_dpi);
}

POINT CLayerWindowCore::ToLayerPoint(POINT client) const {
    return POINT{LayoutPixelAt(client.x, m_dpi), LayoutPixelAt(client.y, m_dpi)};
}

RECT CLayerWindowCore::ToScreenRect(const RECT& rect) const {
    if (m_dpi <= kBaseDpi) {
        return rect;
    }
    const double scale = static_cast<double>(m_dpi) / kBaseDpi;
    auto down = [scale](LONG v) { return static_cast<LONG>(std::floor(v * scale)); };
    auto up = [scale](LONG v) { return static_cast<LONG>(std::ceil(v * scale)); };
    return RECT{down(rect.left), down(rect.top), up(rect.right), up(rect.bottom)};
}

void CLayerWindowCore::ScaleDC(HDC dc) const {
    if (m_dpi <= kBaseDpi) {
        return;
    }
    const FLOAT scale = static_cast<FLOAT>(m_dpi) / kBaseDpi;
    const XFORM transform{scale, 0, 0, scale, 0, 0};
    ::SetGraphicsMode(dc, GM_ADVANCED);
    ::SetWorldTransform(dc, &transform);
}

void CLayerWindowCore::SetLayerSize(int cx, int cy) {
    ::SetWindowPos(GetHWND(), nullptr, 0, 0, ToScreen(cx), ToScreen(cy),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void CLayerWindowCore::HandleDpiChanged(UINT dpi, const RECT* suggested) {
    if (!m_layered || dpi == 0) {
        return;
    }
    const RECT layer = LayerClientRect();
    m_dpi = static_cast<int>(dpi);
    RECT window{};
    ::GetWindowRect(GetHWND(), &window);
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : POINT{window.left, window.top};
    ::SetWindowPos(GetHWND(), nullptr, at.x, at.y, ToScreen(layer.right), ToScreen(layer.bottom),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(nullptr, TRUE);
}

void CLayerWindowCore::HandleCreate() {
    // Created at its size in the controls' terms, the window grows to its monitor's scale.
    RECT client = ClientRect();
    m_rootView->Create(GetHWND(), this, -1, client, 0);
    if (m_layered) {
        m_dpi = WindowDpi(GetHWND());
        SetLayerSize(client.right - client.left, client.bottom - client.top);
    }
    OnLayerCreate();
    if (CMessageLoop* loop = CWindowModule::GetMessageLoop()) {
        loop->AddMessageFilter(this);
    }
    InvalidateRect(nullptr, TRUE);
}

void CLayerWindowCore::HandleDestroy() {
    if (CMessageLoop* loop = CWindowModule::GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
    }
    HWND hwnd = GetHWND();
    if (!m_timers.empty() && ::IsWindow(hwnd)) {
        for (UINT id : m_timers) {
            ::KillTimer(hwnd, id);
        }
    }
    m_timers.clear();
    m_toolTip.Reset();
    m_toolTipText.clear();
    m_trackingIdle = TRUE;
    m_updates.clear();
    OnLayerDestroy();
    m_rootView->OnDestroy();
}

LRESULT CLayerWindowCore::HandleNcHitTest(POINT screen) {
    HWND hwnd = GetHWND();
    LRESULT code = ::DefWindowProcW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (m_widget) {
        m_widget->OnHitTest(screen.x, screen.y);
    }
    OnLayerNcHitTest(screen.x, screen.y);
    if (code == HTCLIENT && m_dragByBackground) {
        POINT client = screen;
        ::ScreenToClient(hwnd, &client);
        const POINT layer = ToLayerPoint(client);
        ILayerControl* control = m_rootView->ChildFromPoint(layer.x, layer.y);
        if (!control || control->IsDragThrough()) {
            return HTCAPTION;
        }
    }
    return code;
}

bool CLayerWindowCore::EnsureWindowBitmap(int cx, int cy) {
    if (m_windowBitmap) {
        BITMAP info{};
        if (!::GetObjectW(m_windowBitmap.Get(), sizeof(info), &info) || info.bmWidth != cx || info.bmHeight != cy) {
            m_windowBitmap.Reset();
            m_windowBits = nullptr;
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
        m_windowBits = m_windowBitmap ? bits : nullptr;
    }
    return m_windowBitmap.IsValid();
}

void CLayerWindowCore::DrawFrame(HDC dc, const RECT& dirty) {
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
    const RECT layer = LayerClientRect();
    if (!::IsRectEmpty(&dirty) && m_backgroundBitmap) {
        CMemoryDC backgroundDC(::CreateCompatibleDC(dc));
        if (backgroundDC) {
            CSelectObject select(backgroundDC.Get(), m_backgroundBitmap.Get());
            if (m_backgroundDirty) {
                int saved = ::SaveDC(backgroundDC.Get());
                ScaleDC(backgroundDC.Get());
                DrawBackground(backgroundDC.Get(), layer);
                ::RestoreDC(backgroundDC.Get(), saved);
                m_backgroundDirty = FALSE;
            }
            ::BitBlt(dc, 0, 0, cx, cy, backgroundDC.Get(), 0, 0, SRCCOPY);
        }
    }
    // The frame is drawn straight into the window bitmap's bits; the background above has its own DC.
    CLayerCanvas canvas(dc, m_windowBitmap.Get());
    const int saved = ::SaveDC(dc);
    ScaleDC(dc);
    DrawUnderlay(dc, layer.left, layer.top);
    DrawControls(dc, dirty);
    DrawOverlay(dc, dirty);
    ::RestoreDC(dc, saved);
}

void CLayerWindowCore::LayeredUpdate(const RECT* rect) {
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
    // The rectangle is in the controls' terms; the clip and the pushed part are on the bitmap.
    std::optional<RECT> pixels;
    if (rect) {
        // Grown to whole pixels, it may pass the bitmap's rounded edge by one.
        const RECT grown = ToScreenRect(*rect);
        ::IntersectRect(&pixels.emplace(), &grown, &client);
    }
    if (pixels) {
        CRegionHandle clip(::CreateRectRgnIndirect(&*pixels));
        ::SelectClipRgn(memoryDC.Get(), clip.Get());
    }
    DrawFrame(memoryDC.Get(), rect ? *rect : LayerClientRect());
    ::SelectClipRgn(memoryDC.Get(), nullptr);

    // Drawing flushes into the bits only once the DC is done with; a frame no different from the one on the
    // screen is not pushed.
    ::GdiFlush();
    const uint64_t digest = FrameDigest(m_windowBits, client.right - client.left, client.bottom - client.top);
    if (m_pushedDigest == digest && m_pushedAlpha == m_alpha) {
        return;
    }
    RECT windowRect{};
    ::GetWindowRect(GetHWND(), &windowRect);
    POINT dest{windowRect.left, windowRect.top};
    SIZE size{windowRect.right - windowRect.left, windowRect.bottom - windowRect.top};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(m_alpha), AC_SRC_ALPHA};
    // A new opacity applies to the whole window, so that frame goes out whole.
    const RECT* dirty = m_pushedAlpha == m_alpha && pixels ? &*pixels : nullptr;
    if (PushFrame(screen.Get(), &dest, &size, memoryDC.Get(), &blend, dirty)) {
        m_pushedAlpha = m_alpha;
        m_pushedDigest = digest;
        ++m_pushedFrames;
    }
}

void CLayerWindowCore::HandlePaint(HDC given) {
    HWND hwnd = GetHWND();
    PAINTSTRUCT ps{};
    HDC target = given;
    RECT dirty = LayerClientRect();
    if (!target) {
        target = ::BeginPaint(hwnd, &ps);
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
        ::EndPaint(hwnd, &ps);
    }
}

void CLayerWindowCore::HandleLayerUpdate() {
    if (m_updates.empty()) {
        return;
    }
    const std::optional<RECT> rect = m_updates.front();
    m_updates.pop_front();
    const RECT* area = rect ? &*rect : nullptr;
    if (m_layered) {
        LayeredUpdate(area);
    } else {
        ::InvalidateRect(GetHWND(), area, FALSE);
    }
}

void CLayerWindowCore::InvalidateRect(const RECT* rect, BOOL erase) {
    m_backgroundDirty = erase;
    HWND hwnd = GetHWND();
    if (!hwnd) {
        return;
    }
    m_updates.push_back(rect ? std::optional<RECT>(*rect) : std::nullopt);
    if (!::PostMessageW(hwnd, WM_LAYER_UPDATE, 0, 0)) {
        m_updates.pop_back();
    }
}

void CLayerWindowCore::RelayToToolTip(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_toolTip) {
        MSG relayed{GetHWND(), msg, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
        DWORD pos = ::GetMessagePos();
        relayed.pt = POINT{DESK_X(pos), DESK_Y(pos)};
        ::SendMessageW(m_toolTip.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
}

void CLayerWindowCore::DeleteTool() {
    TOOLINFOW info{};
    info.cbSize = ToolInfoSize();
    info.hwnd = GetHWND();
    info.uId = reinterpret_cast<UINT_PTR>(info.hwnd);
    ::SendMessageW(m_toolTip.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CLayerWindowCore::ShowToolTip(BOOL show, const std::wstring& text) {
    // The root hides the tip on every change of hovered control; a window whose controls have no tips
    // never needs the tooltip window at all (and under Wine a window that made one stalls when destroyed).
    if (!show && !m_toolTip) {
        m_toolTipText.clear();
        return;
    }
    HWND hwnd = GetHWND();
    if (!m_toolTip) {
        m_toolTip.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
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
    info.cbSize = ToolInfoSize();
    info.uFlags = TTF_IDISHWND;
    info.hwnd = hwnd;
    info.uId = reinterpret_cast<UINT_PTR>(hwnd);
    info.lpszText = const_cast<wchar_t*>(m_toolTipText.c_str());
    ::SendMessageW(m_toolTip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

BOOL CLayerWindowCore::SetTimer(UINT id, UINT elapse) {
    if (m_timers.count(id)) {
        return TRUE;
    }
    HWND hwnd = GetHWND();
    if (!hwnd || !::IsWindow(hwnd) || !::SetTimer(hwnd, id, elapse, nullptr)) {
        return FALSE;
    }
    m_timers.insert(id);
    return TRUE;
}

BOOL CLayerWindowCore::KillTimer(UINT id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end()) {
        return FALSE;
    }
    HWND hwnd = GetHWND();
    if (hwnd && ::IsWindow(hwnd)) {
        ::KillTimer(hwnd, id);
    }
    m_timers.erase(it);
    return TRUE;
}
