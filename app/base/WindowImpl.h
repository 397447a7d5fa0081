#pragma once

#include <windows.h>

#include <map>
#include <mutex>

class CMessageLoop;

// A small window implementation: the class registers itself on first Create, the static window
// procedure recovers `this` from the creation parameters, and the concrete class describes its
// messages with a message map (BEGIN_MSG_MAP ... END_MSG_MAP). Entries are tried in order; a
// handler that clears bHandled lets the message go on to the next entry and finally to
// DefWindowProc.

template <DWORD Style, DWORD ExStyle> struct CWinTraits {
    static DWORD GetWndStyle() { return Style; }
    static DWORD GetWndExStyle() { return ExStyle; }
};

// The application module: the instance handle that window classes are registered with, and the
// message loop of each thread that runs one, so a window can register its pre-translation filter.
class CWindowModule {
public:
    static void Init(HINSTANCE instance) { s_instance = instance; }
    static void Term() { s_instance = nullptr; }
    static HINSTANCE Instance() { return s_instance ? s_instance : ::GetModuleHandleW(nullptr); }

    // Registers the calling thread's loop; one loop per thread, the later one replaces it.
    static void AddMessageLoop(CMessageLoop* loop) {
        std::lock_guard<std::mutex> lock(s_loopLock);
        s_loops[::GetCurrentThreadId()] = loop;
    }
    static void RemoveMessageLoop() {
        std::lock_guard<std::mutex> lock(s_loopLock);
        s_loops.erase(::GetCurrentThreadId());
    }
    static CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) {
        std::lock_guard<std::mutex> lock(s_loopLock);
        auto it = s_loops.find(threadId);
        return it == s_loops.end() ? nullptr : it->second;
    }

private:
    static inline HINSTANCE s_instance = nullptr;
    static inline std::mutex s_loopLock;
    static inline std::map<DWORD, CMessageLoop*> s_loops;
};

template <class T, class TWinTraits> class CWindowImplT {
public:
    CWindowImplT() = default;
    virtual ~CWindowImplT() = default;
    CWindowImplT(const CWindowImplT&) = delete;
    CWindowImplT& operator=(const CWindowImplT&) = delete;

    HWND m_hWnd = nullptr;

    // The message-handled flag of the cracker entries: set before each handler runs and read after
    // it, so a handler that clears it passes the message on to later entries.
    BOOL m_bMsgHandled = TRUE;
    void SetMsgHandled(BOOL handled) { m_bMsgHandled = handled; }
    BOOL IsMsgHandled() const { return m_bMsgHandled; }

    HWND Create(HWND parent, const RECT* rect, const wchar_t* title = nullptr) {
        if (!RegisterClassOnce()) {
            return nullptr;
        }
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
        if (rect) {
            x = rect->left;
            y = rect->top;
            cx = rect->right - rect->left;
            cy = rect->bottom - rect->top;
        }
        return ::CreateWindowExW(TWinTraits::GetWndExStyle(), T::GetWndClassName(), title, TWinTraits::GetWndStyle(), x,
                                 y, cx, cy, parent, nullptr, CWindowModule::Instance(), static_cast<T*>(this));
    }

    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    BOOL DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    // Class styles, brush and cursor; a concrete class may hide this to change them.
    static void GetWndClassInfo(WNDCLASSEXW& wc) {
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    }

    // Called after the window is destroyed (its last message); the object may delete itself here.
    virtual void OnFinalMessage(HWND) {}

private:
    static bool RegisterClassOnce() {
        HINSTANCE instance = CWindowModule::Instance();
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof(existing);
        if (::GetClassInfoExW(instance, T::GetWndClassName(), &existing)) {
            return true;
        }
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        T::GetWndClassInfo(wc);
        wc.lpfnWndProc = &CWindowImplT::StartWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = T::GetWndClassName();
        return ::RegisterClassExW(&wc) != 0;
    }

    static LRESULT CALLBACK StartWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
        T* self = nullptr;
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
            // Create passed static_cast<T*>(this); the same type comes back out of the void pointer.
            self = static_cast<T*>(cs->lpCreateParams);
            self->m_hWnd = hwnd;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) {
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        LRESULT result = 0;
        if (!self->ProcessWindowMessage(hwnd, msg, wParam, lParam, result)) {
            result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        if (msg == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->m_hWnd = nullptr;
            self->OnFinalMessage(hwnd);
        }
        return result;
    }
};

// Message map. Handlers take (UINT msg, WPARAM, LPARAM, BOOL& bHandled) and return LRESULT;
// bHandled starts TRUE for each entry.
#define BEGIN_MSG_MAP(theClass)                                                                                        \
public:                                                                                                                \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {                  \
        BOOL bHandled = TRUE;                                                                                          \
        (void)hWnd;                                                                                                    \
        (void)bHandled;

#define MESSAGE_HANDLER(msg, func)                                                                                     \
    if (uMsg == (msg)) {                                                                                               \
        bHandled = TRUE;                                                                                               \
        lResult = func(uMsg, wParam, lParam, bHandled);                                                                \
        if (bHandled)                                                                                                  \
            return TRUE;                                                                                               \
    }

// Hands the message to a base or member map, which reports whether it handled it.
#define CHAIN_MSG_MAP(theChainClass)                                                                                   \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult))                                      \
        return TRUE;

// Handles a contiguous range of messages, e.g. every mouse message.
#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func)                                                                 \
    if (uMsg >= (msgFirst) && uMsg <= (msgLast)) {                                                                     \
        bHandled = TRUE;                                                                                               \
        lResult = func(uMsg, wParam, lParam, bHandled);                                                                \
        if (bHandled)                                                                                                  \
            return TRUE;                                                                                               \
    }

// Typed crackers: the handler receives decoded arguments; the message counts as handled unless the
// handler calls SetMsgHandled(FALSE). The flag is saved around the call because a handler may send
// messages to the same window.
#define DESK_CRACK(msg, call)                                                                                          \
    if (uMsg == (msg)) {                                                                                               \
        BOOL savedHandled = this->m_bMsgHandled;                                                                       \
        this->m_bMsgHandled = TRUE;                                                                                    \
        call;                                                                                                          \
        BOOL crackedHandled = this->m_bMsgHandled;                                                                     \
        this->m_bMsgHandled = savedHandled;                                                                            \
        if (crackedHandled)                                                                                            \
            return TRUE;                                                                                               \
    }

#define DESK_X(lp) static_cast<int>(static_cast<short>(LOWORD(lp)))
#define DESK_Y(lp) static_cast<int>(static_cast<short>(HIWORD(lp)))

#define MSG_WM_CREATE(func) DESK_CRACK(WM_CREATE, lResult = func(reinterpret_cast<const CREATESTRUCTW*>(lParam)))
#define MSG_WM_DESTROY(func) DESK_CRACK(WM_DESTROY, (func(), lResult = 0))
#define MSG_WM_TIMER(func) DESK_CRACK(WM_TIMER, (func(static_cast<UINT_PTR>(wParam)), lResult = 0))
#define MSG_WM_CLOSE(func) DESK_CRACK(WM_CLOSE, (func(), lResult = 0))
#define MSG_WM_COPYDATA(func)                                                                                          \
    DESK_CRACK(WM_COPYDATA,                                                                                            \
               lResult = func(reinterpret_cast<HWND>(wParam), reinterpret_cast<const COPYDATASTRUCT*>(lParam)))
#define MSG_WM_WINDOWPOSCHANGING(func)                                                                                 \
    DESK_CRACK(WM_WINDOWPOSCHANGING, (func(reinterpret_cast<WINDOWPOS*>(lParam)), lResult = 0))
#define MSG_WM_WINDOWPOSCHANGED(func)                                                                                  \
    DESK_CRACK(WM_WINDOWPOSCHANGED, (func(reinterpret_cast<const WINDOWPOS*>(lParam)), lResult = 0))
// func(UINT type, int cx, int cy)
#define MSG_WM_SIZE(func)                                                                                              \
    DESK_CRACK(WM_SIZE, (func(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)), lResult = 0))
// func(POINT screenPoint) -> hit-test code
#define MSG_WM_NCHITTEST(func) DESK_CRACK(WM_NCHITTEST, lResult = func(POINT{DESK_X(lParam), DESK_Y(lParam)}))
// func(HWND window, UINT hitCode, UINT mouseMessage) -> BOOL
#define MSG_WM_SETCURSOR(func)                                                                                         \
    DESK_CRACK(WM_SETCURSOR, lResult = func(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define MSG_WM_ERASEBKGND(func) DESK_CRACK(WM_ERASEBKGND, lResult = func(reinterpret_cast<HDC>(wParam)))
// func(HDC dc): the context wParam may carry, null for an ordinary paint.
#define MSG_WM_PAINT(func) DESK_CRACK(WM_PAINT, (func(reinterpret_cast<HDC>(wParam)), lResult = 0))
#define MSG_WM_PRINTCLIENT(func)                                                                                       \
    DESK_CRACK(WM_PRINTCLIENT, (func(reinterpret_cast<HDC>(wParam), static_cast<UINT>(lParam)), lResult = 0))
// Mouse crackers: func(UINT keyFlags, POINT clientPoint)
#define DESK_MOUSE_CRACK(msg, func)                                                                                    \
    DESK_CRACK(msg, (func(static_cast<UINT>(wParam), POINT{DESK_X(lParam), DESK_Y(lParam)}), lResult = 0))
#define MSG_WM_MOUSEMOVE(func) DESK_MOUSE_CRACK(WM_MOUSEMOVE, func)
#define MSG_WM_MOUSEHOVER(func) DESK_MOUSE_CRACK(WM_MOUSEHOVER, func)
#define MSG_WM_LBUTTONDOWN(func) DESK_MOUSE_CRACK(WM_LBUTTONDOWN, func)
#define MSG_WM_LBUTTONUP(func) DESK_MOUSE_CRACK(WM_LBUTTONUP, func)
#define MSG_WM_LBUTTONDBLCLK(func) DESK_MOUSE_CRACK(WM_LBUTTONDBLCLK, func)
#define MSG_WM_RBUTTONDOWN(func) DESK_MOUSE_CRACK(WM_RBUTTONDOWN, func)
#define MSG_WM_RBUTTONUP(func) DESK_MOUSE_CRACK(WM_RBUTTONUP, func)
#define MSG_WM_MOUSELEAVE(func) DESK_CRACK(WM_MOUSELEAVE, (func(), lResult = 0))

#define END_MSG_MAP()                                                                                                  \
    return FALSE;                                                                                                      \
    }
