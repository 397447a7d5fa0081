#include "app/ScopedHandle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>

namespace {

bool IsOpenKernelHandle(HANDLE h) {
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

HANDLE NewEvent() {
    return ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

TEST(ScopedHandle, KernelHandleClosesOnScopeExitAndTreatsNullAndInvalidAsEmpty) {
    HANDLE raw = NewEvent();
    ASSERT_NE(raw, nullptr);
    {
        CKernelHandle handle(raw);
        EXPECT_TRUE(handle);
        EXPECT_EQ(handle.Get(), raw);
        EXPECT_TRUE(IsOpenKernelHandle(raw));
    }
    EXPECT_FALSE(IsOpenKernelHandle(raw));
    EXPECT_FALSE(CKernelHandle(nullptr));
    // INVALID_HANDLE_VALUE is also the current-process pseudo handle: it must never be closed.
    EXPECT_FALSE(CKernelHandle(INVALID_HANDLE_VALUE).IsValid());
}

TEST(ScopedHandle, ResetClosesTheOldHandleAndReleaseGivesItUp) {
    HANDLE first = NewEvent();
    HANDLE second = NewEvent();
    CKernelHandle handle(first);
    handle.Reset(second);
    EXPECT_FALSE(IsOpenKernelHandle(first));
    EXPECT_TRUE(IsOpenKernelHandle(second));

    EXPECT_EQ(handle.Release(), second);
    EXPECT_FALSE(handle);
    handle.Reset();
    EXPECT_TRUE(IsOpenKernelHandle(second)) << "a released handle is the caller's";
    ::CloseHandle(second);
}

TEST(ScopedHandle, MoveTransfersOwnership) {
    HANDLE first = NewEvent();
    HANDLE second = NewEvent();
    CKernelHandle a(first);
    CKernelHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), first);

    CKernelHandle c(second);
    c = std::move(b);
    EXPECT_FALSE(IsOpenKernelHandle(second)) << "the assigned-to handle closes what it held";
    EXPECT_EQ(c.Get(), first);
    EXPECT_FALSE(b);

    CKernelHandle& self = c;
    c = std::move(self);
    EXPECT_TRUE(IsOpenKernelHandle(first)) << "self-move keeps the handle";
    c.Reset();
    EXPECT_FALSE(IsOpenKernelHandle(first));
}

TEST(ScopedHandle, ReceiveClosesTheHeldHandleAndFillsTheSlot) {
    HANDLE old = NewEvent();
    CKernelHandle handle(old);
    HANDLE* slot = handle.Receive();
    // Checked before anything is opened again: the system reuses handle values at once.
    EXPECT_FALSE(IsOpenKernelHandle(old));
    EXPECT_FALSE(handle);
    HANDLE source = NewEvent();
    ASSERT_TRUE(
        ::DuplicateHandle(::GetCurrentProcess(), source, ::GetCurrentProcess(), slot, 0, FALSE, DUPLICATE_SAME_ACCESS));
    EXPECT_TRUE(handle);
    EXPECT_NE(handle.Get(), source);
    HANDLE duplicate = handle.Get();
    handle.Reset();
    EXPECT_FALSE(IsOpenKernelHandle(duplicate));
    ::CloseHandle(source);
}

TEST(ScopedHandle, FileHandleUsesInvalidHandleValueAndCloses) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"deskling-scoped-" + std::to_wstring(::GetCurrentProcessId());

    CFileHandle missing(
        ::CreateFileW((path + L"-missing\\x").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CFileHandle().Get(), INVALID_HANDLE_VALUE);

    HANDLE raw = INVALID_HANDLE_VALUE;
    {
        // No sharing: only a closed handle lets the file be opened again.
        CFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        raw = file.Get();
    }
    EXPECT_FALSE(IsOpenKernelHandle(raw));
    CFileHandle again(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(again);
    again.Reset();
    ::DeleteFileW(path.c_str());
}

TEST(ScopedHandle, FindHandleIsClosedWithFindClose) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    WIN32_FIND_DATAW found{};
    HANDLE raw = INVALID_HANDLE_VALUE;
    {
        CFindHandle find(::FindFirstFileW((std::wstring(system) + L"\\*").c_str(), &found));
        ASSERT_TRUE(find);
        raw = find.Get();
        EXPECT_TRUE(::FindNextFileW(raw, &found));
    }
    EXPECT_FALSE(::FindNextFileW(raw, &found));
}

TEST(ScopedHandle, RegKeyIsClosed) {
    HKEY raw = nullptr;
    {
        CRegKey key;
        ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Receive()), ERROR_SUCCESS);
        raw = key.Get();
        DWORD subkeys = 0;
        EXPECT_EQ(::RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
    }
    DWORD subkeys = 0;
    EXPECT_NE(::RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr),
              ERROR_SUCCESS);
}

TEST(ScopedHandle, ModuleIsFreed) {
    const wchar_t* name = L"wtsapi32.dll";
    if (::GetModuleHandleW(name)) {
        GTEST_SKIP() << "already loaded by something else";
    }
    {
        CModule module(::LoadLibraryW(name));
        ASSERT_TRUE(module);
        EXPECT_EQ(::GetModuleHandleW(name), module.Get());
    }
    EXPECT_EQ(::GetModuleHandleW(name), nullptr);
}

TEST(ScopedHandle, GdiObjectsAreDeleted) {
    HDC dcRaw = nullptr;
    HBITMAP bitmapRaw = nullptr;
    HFONT fontRaw = nullptr;
    HRGN regionRaw = nullptr;
    HBRUSH brushRaw = nullptr;
    {
        CMemoryDC dc(::CreateCompatibleDC(nullptr));
        CBitmapHandle bitmap(::CreateBitmap(4, 4, 1, 32, nullptr));
        LOGFONTW lf{};
        lf.lfHeight = -12;
        CFontHandle font(::CreateFontIndirectW(&lf));
        CRegionHandle region(::CreateRectRgn(0, 0, 4, 4));
        CBrushHandle brush(::CreateSolidBrush(RGB(1, 2, 3)));
        ASSERT_TRUE(dc && bitmap && font && region && brush);
        dcRaw = dc.Get();
        bitmapRaw = bitmap.Get();
        fontRaw = font.Get();
        regionRaw = region.Get();
        brushRaw = brush.Get();
        EXPECT_EQ(::GetObjectType(dcRaw), DWORD(OBJ_MEMDC));
        EXPECT_EQ(::GetObjectType(bitmapRaw), DWORD(OBJ_BITMAP));
        EXPECT_EQ(::GetObjectType(fontRaw), DWORD(OBJ_FONT));
        EXPECT_EQ(::GetObjectType(regionRaw), DWORD(OBJ_REGION));
        EXPECT_EQ(::GetObjectType(brushRaw), DWORD(OBJ_BRUSH));
    }
    EXPECT_EQ(::GetObjectType(dcRaw), 0u);
    EXPECT_EQ(::GetObjectType(bitmapRaw), 0u);
    EXPECT_EQ(::GetObjectType(fontRaw), 0u);
    EXPECT_EQ(::GetObjectType(regionRaw), 0u);
    EXPECT_EQ(::GetObjectType(brushRaw), 0u);
}

HWND NewWindow() {
    return ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(ScopedHandle, WindowIsDestroyedAndItsDCReleasedToIt) {
    auto window = std::make_unique<CWindowHandle>(NewWindow());
    ASSERT_TRUE(*window);
    const HWND hwnd = window->Get();
    HDC raw = nullptr;
    {
        CWindowDC dc(hwnd);
        ASSERT_TRUE(dc);
        raw = dc.Get();
        EXPECT_EQ(::WindowFromDC(raw), hwnd);
    }
    // A second release of a common DC fails: the wrapper has already given it back.
    EXPECT_EQ(::ReleaseDC(hwnd, raw), 0);

    HDC screen = nullptr;
    {
        CWindowDC dc(nullptr);
        ASSERT_TRUE(dc);
        screen = dc.Get();
    }
    EXPECT_EQ(::ReleaseDC(nullptr, screen), 0);

    window.reset();
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(ScopedHandle, SelectObjectRestoresThePreviousObject) {
    CMemoryDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_BITMAP);
    HBITMAP raw = ::CreateBitmap(8, 8, 1, 32, nullptr);
    {
        CSelectObject select(dc.Get(), raw);
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), raw);
        {
            CBitmapHandle other(::CreateBitmap(2, 2, 1, 32, nullptr));
            CSelectObject nested(dc.Get(), other.Get());
            EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), other.Get());
        }
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), raw);
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
    // Once deselected the bitmap can be deleted.
    EXPECT_TRUE(::DeleteObject(raw));
}

TEST(ScopedHandle, SelectObjectOfAFailedSelectionOrARegionRestoresNothing) {
    CMemoryDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_FONT);
    { CSelectObject select(dc.Get(), nullptr); }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_FONT), original);

    CBitmapHandle bitmap(::CreateBitmap(8, 8, 1, 32, nullptr));
    CSelectObject selectBitmap(dc.Get(), bitmap.Get());
    CRegionHandle region(::CreateRectRgn(0, 0, 2, 2));
    {
        CSelectObject select(dc.Get(), region.Get());
        CRegionHandle clip(::CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(::GetClipRgn(dc.Get(), clip.Get()), 0) << "no clip region was set";
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
}

} // namespace
