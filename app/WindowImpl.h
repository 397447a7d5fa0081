#pragma once

#include <windows.h>

// A small window implementation: the class registers itself on first Create, the static window
// procedure recovers `this` from the creation parameters, and the concrete class describes its
// messages with a message map (BEGIN_MSG_MAP ... END_MSG_MAP). Entries are tried in order; a
// handler that clears bHandled lets the message go on to the next entry and finally to
// DefWindowProc.

template <DWORD Style, DWORD ExStyle> struct CWinTraits {
    static DWORD GetWndStyle() { return Style; }
    static DWORD GetWndExStyle() { return ExStyle; }
};

// The instance handle that window classes are registered with.
class CWindowModule {
public:
    static void Init(HINSTANCE instance) { s_instance = instance; }
    static void Term() { s_instance = nullptr; }
    static HINSTANCE Instance() { return s_instance ? s_instance : ::GetModuleHandleW(nullptr); }

private:
    static inline HINSTANCE s_instance = nullptr;
};

template <class T, class TWinTraits> class CWindowImplT {
public:
    CWindowImplT() = default;
    virtual ~CWindowImplT() = default;
    CWindowImplT(const CWindowImplT&) = delete;
    CWindowImplT& operator=(const CWindowImplT&) = delete;

    HWND m_hWnd = nullptr;

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
            self = static_cast<T*>(reinterpret_cast<CWindowImplT*>(cs->lpCreateParams));
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
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {                \
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

// Typed crackers: the handler receives decoded arguments and the message counts as handled.
#define MSG_WM_CREATE(func)                                                                                            \
    if (uMsg == WM_CREATE) {                                                                                           \
        lResult = func(reinterpret_cast<const CREATESTRUCTW*>(lParam));                                                \
        return TRUE;                                                                                                   \
    }

#define MSG_WM_TIMER(func)                                                                                             \
    if (uMsg == WM_TIMER) {                                                                                            \
        func(static_cast<UINT_PTR>(wParam));                                                                           \
        lResult = 0;                                                                                                   \
        return TRUE;                                                                                                   \
    }

#define MSG_WM_CLOSE(func)                                                                                             \
    if (uMsg == WM_CLOSE) {                                                                                            \
        func();                                                                                                        \
        lResult = 0;                                                                                                   \
        return TRUE;                                                                                                   \
    }

#define MSG_WM_COPYDATA(func)                                                                                          \
    if (uMsg == WM_COPYDATA) {                                                                                         \
        lResult = func(reinterpret_cast<HWND>(wParam), reinterpret_cast<const COPYDATASTRUCT*>(lParam));               \
        return TRUE;                                                                                                   \
    }

#define MSG_WM_WINDOWPOSCHANGING(func)                                                                                 \
    if (uMsg == WM_WINDOWPOSCHANGING) {                                                                                \
        func(reinterpret_cast<WINDOWPOS*>(lParam));                                                                    \
        lResult = 0;                                                                                                   \
        return TRUE;                                                                                                   \
    }

#define END_MSG_MAP()                                                                                                  \
    return FALSE;                                                                                                      \
    }
