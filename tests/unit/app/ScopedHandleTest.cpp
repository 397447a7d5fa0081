#include "app/base/ScopedHandle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

namespace {

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

HANDLE NewEvent() {
    return ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

HWND NewWindow() {
    return ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(ScopedHandle, OwnsExactlyOneHandleThroughMoveReleaseAndReceive) {
    HANDLE first = NewEvent(), second = NewEvent();
    CKernelHandle a(first), b(second);
    b = std::move(a);
    EXPECT_FALSE(a);
    EXPECT_FALSE(IsOpen(second)) << "the assigned-to handle closes what it held";
    CKernelHandle c(std::move(b));
    CKernelHandle& self = c;
    c = std::move(self);
    EXPECT_EQ(c.Release(), first);
    EXPECT_FALSE(c);
    EXPECT_TRUE(IsOpen(first)) << "kept through the self-move, then the caller's";

    c.Reset(first);
    c.Receive();
    // Checked before anything is opened again: the system reuses handle values at once.
    EXPECT_FALSE(IsOpen(first));
    // INVALID_HANDLE_VALUE is also the current-process pseudo handle: it must never be closed.
    EXPECT_FALSE(CKernelHandle(INVALID_HANDLE_VALUE));
}

// Wraps a fresh handle for one scope: alive(handle) must hold inside it and fail after it.
template <class Wrapper, class Alive> void ExpectReleased(typename Wrapper::Type handle, Alive alive) {
    {
        Wrapper owner(handle);
        ASSERT_TRUE(owner);
        ASSERT_TRUE(alive(handle));
    }
    EXPECT_FALSE(alive(handle));
}

TEST(ScopedHandle, EachWrapperReleasesWithItsOwnFunction) {
    auto isGdiObject = [](HGDIOBJ object) { return ::GetObjectType(object) != 0; };
    LOGFONTW lf{};
    lf.lfHeight = -12;
    ExpectReleased<CKernelHandle>(NewEvent(), IsOpen);
    ExpectReleased<CMemoryDC>(::CreateCompatibleDC(nullptr), isGdiObject);
    ExpectReleased<CBitmapHandle>(::CreateBitmap(4, 4, 1, 32, nullptr), isGdiObject);
    ExpectReleased<CFontHandle>(::CreateFontIndirectW(&lf), isGdiObject);
    ExpectReleased<CRegionHandle>(::CreateRectRgn(0, 0, 4, 4), isGdiObject);
    ExpectReleased<CBrushHandle>(::CreateSolidBrush(RGB(1, 2, 3)), isGdiObject);
    ExpectReleased<CWindowHandle>(NewWindow(), ::IsWindow);

    WIN32_FIND_DATAW found{};
    ExpectReleased<CFindHandle>(::FindFirstFileW(L"C:\\windows\\*", &found),
                                [&](HANDLE find) { return ::FindNextFileW(find, &found) != FALSE; });
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key), ERROR_SUCCESS);
    ExpectReleased<CRegKey>(key, [](HKEY k) {
        return ::RegQueryValueExW(k, L"", nullptr, nullptr, nullptr, nullptr) != ERROR_INVALID_HANDLE;
    });
    if (!::GetModuleHandleW(L"wtsapi32.dll")) {
        ExpectReleased<CModule>(::LoadLibraryW(L"wtsapi32.dll"),
                                [](HMODULE) { return ::GetModuleHandleW(L"wtsapi32.dll") != nullptr; });
    }
}

TEST(ScopedHandle, SelectObjectRestoresThePreviousObjectButNeverSelectsARegion) {
    CMemoryDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_BITMAP);
    HBITMAP raw = ::CreateBitmap(8, 8, 1, 32, nullptr);
    {
        CSelectObject select(dc.Get(), raw);
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), raw);
        { CSelectObject failed(dc.Get(), nullptr); }
        CRegionHandle region(::CreateRectRgn(0, 0, 2, 2));
        {
            CSelectObject selectRegion(dc.Get(), region.Get());
            CRegionHandle clip(::CreateRectRgn(0, 0, 0, 0));
            EXPECT_EQ(::GetClipRgn(dc.Get(), clip.Get()), 0) << "no clip region was set";
        }
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), raw);
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
    // Once deselected the bitmap can be deleted.
    EXPECT_TRUE(::DeleteObject(raw));
}

} // namespace
