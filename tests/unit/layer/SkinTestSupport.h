#pragma once

#include "app/base/ScopedHandle.h"
#include "unit/TestPaths.h"

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <gtest/gtest.h>

#include <string>

// A fixture whose suite runs with GDI+ started.
class CGdiplusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        s_started = Gdiplus::GdiplusStartup(&s_token, &input, nullptr) == Gdiplus::Ok;
    }
    static void TearDownTestSuite() {
        if (s_started) {
            Gdiplus::GdiplusShutdown(s_token);
        }
        s_started = false;
    }
    void SetUp() override { ASSERT_TRUE(s_started); }

    static inline ULONG_PTR s_token = 0;
    static inline bool s_started = false;
};

// Some TrueType family installed on this system; the prefix's fonts vary, so tests that need real GDI+ fonts
// ask instead of naming one.
inline std::wstring InstalledTrueTypeFace() {
    std::wstring face;
    CWindowDC screen(nullptr);
    ::EnumFontFamiliesW(
        screen.Get(), nullptr,
        [](const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM found) -> int {
            if ((type & TRUETYPE_FONTTYPE) == 0 || font->lfFaceName[0] == L'@') {
                return 1;
            }
            *reinterpret_cast<std::wstring*>(found) = font->lfFaceName;
            return 0;
        },
        reinterpret_cast<LPARAM>(&face));
    return face;
}

// The skin pictures are compiled into deskling.exe; it is opened as a plain resource file.
inline CModule OpenDesklingResources() {
    return CModule(::LoadLibraryExW(ShippedPath(L"deskling.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}
