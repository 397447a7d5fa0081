#pragma once

#include <windows.h>

#include <utility>

// Owning wrapper for one Win32 handle kind. Each traits type pairs the acquiring call with its one
// matching release; a raw handle passed around with Get() is a non-owning view.
template <class Traits> class CScopedHandle {
public:
    using Type = typename Traits::Type;

    CScopedHandle() = default;
    explicit CScopedHandle(Type h) : m_h(h) {}
    ~CScopedHandle() { Reset(); }
    CScopedHandle(CScopedHandle&& other) noexcept : m_h(other.Release()) {}
    CScopedHandle& operator=(CScopedHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;

    Type Get() const { return m_h; }
    bool IsValid() const { return Traits::IsValid(m_h); }
    explicit operator bool() const { return IsValid(); }

    // Gives up ownership without closing.
    Type Release() { return std::exchange(m_h, Traits::Invalid()); }

    void Reset(Type h = Traits::Invalid()) {
        Type old = std::exchange(m_h, h);
        if (Traits::IsValid(old)) {
            Traits::Close(old);
        }
    }

    // For out-parameters: closes what is held and hands out the slot.
    Type* Receive() {
        Reset();
        return &m_h;
    }

private:
    Type m_h = Traits::Invalid();
};

template <class T, T InvalidValue> struct CHandleTraitsBase {
    using Type = T;
    static Type Invalid() { return InvalidValue; }
    static bool IsValid(Type h) { return h != InvalidValue; }
};

// Kernel objects (events, mutexes, threads, processes, snapshots): null means none.
struct KernelHandleTraits : CHandleTraitsBase<HANDLE, nullptr> {
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
// CreateFile and CreateToolhelp32Snapshot report failure as INVALID_HANDLE_VALUE; same close.
struct FileHandleTraits : KernelHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
};
struct FindHandleTraits : FileHandleTraits {
    static void Close(HANDLE h) { ::FindClose(h); }
};
struct RegKeyTraits : CHandleTraitsBase<HKEY, nullptr> {
    static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct ModuleTraits : CHandleTraitsBase<HMODULE, nullptr> {
    static void Close(HMODULE h) { ::FreeLibrary(h); }
};
// Memory DCs from CreateCompatibleDC; window DCs use CWindowDC below.
struct MemoryDCTraits : CHandleTraitsBase<HDC, nullptr> {
    static void Close(HDC h) { ::DeleteDC(h); }
};
template <class T> struct GdiObjectTraits : CHandleTraitsBase<T, nullptr> {
    static void Close(T h) { ::DeleteObject(h); }
};
struct WindowTraits : CHandleTraitsBase<HWND, nullptr> {
    static void Close(HWND h) { ::DestroyWindow(h); }
};

using CKernelHandle = CScopedHandle<KernelHandleTraits>;
using CFileHandle = CScopedHandle<FileHandleTraits>;
using CFindHandle = CScopedHandle<FindHandleTraits>;
using CRegKey = CScopedHandle<RegKeyTraits>;
using CModule = CScopedHandle<ModuleTraits>;
using CMemoryDC = CScopedHandle<MemoryDCTraits>;
using CBitmapHandle = CScopedHandle<GdiObjectTraits<HBITMAP>>;
using CFontHandle = CScopedHandle<GdiObjectTraits<HFONT>>;
using CRegionHandle = CScopedHandle<GdiObjectTraits<HRGN>>;
using CBrushHandle = CScopedHandle<GdiObjectTraits<HBRUSH>>;
using CWindowHandle = CScopedHandle<WindowTraits>;

// A window's DC from GetDC, given back with ReleaseDC to the same window.
class CWindowDC {
public:
    explicit CWindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {}
    ~CWindowDC() {
        if (m_dc) {
            ::ReleaseDC(m_hwnd, m_dc);
        }
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    HDC Get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// Selects a GDI object into a DC and puts the previous one back on scope exit, so the object can
// be deleted afterwards (a selected object cannot). Regions are refused: selecting one returns a
// region kind rather than the previous object, so there would be nothing to put back; clip with
// SelectClipRgn instead.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ obj)
        : m_dc(dc), m_old(::GetObjectType(obj) == OBJ_REGION ? nullptr : ::SelectObject(dc, obj)) {}
    ~CSelectObject() {
        if (m_old && m_old != HGDI_ERROR) {
            ::SelectObject(m_dc, m_old);
        }
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Holds a mutex while it lives. A mutex abandoned by a thread or process that died holding it is still
// taken; one not taken within the timeout (or no mutex at all) is simply not held.
class CMutexLock {
public:
    CMutexLock(HANDLE mutex, DWORD timeout) : m_mutex(mutex) {
        const DWORD wait = mutex ? ::WaitForSingleObject(mutex, timeout) : WAIT_FAILED;
        m_held = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    ~CMutexLock() {
        if (m_held) {
            ::ReleaseMutex(m_mutex);
        }
    }
    CMutexLock(const CMutexLock&) = delete;
    CMutexLock& operator=(const CMutexLock&) = delete;

private:
    HANDLE m_mutex;
    bool m_held = false;
};
