#pragma once

#include "app/ScopedHandle.h"

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <gtest/gtest.h>

#include <string>

// GDI+ for the duration of one test suite.
class CGdiplusSession {
public:
    CGdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        m_ok = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
    }
    ~CGdiplusSession() {
        if (m_ok) {
            Gdiplus::GdiplusShutdown(m_token);
        }
    }
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;
    bool IsStarted() const { return m_ok; }

private:
    ULONG_PTR m_token = 0;
    bool m_ok = false;
};

// A fixture whose suite runs with GDI+ started.
class CGdiplusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_gdiplus = new CGdiplusSession(); }
    static void TearDownTestSuite() {
        delete s_gdiplus;
        s_gdiplus = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_gdiplus && s_gdiplus->IsStarted()); }

    static inline CGdiplusSession* s_gdiplus = nullptr;
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

// The skin pictures are compiled into deskling.exe, which the build puts beside the tests
// (<build>/tests/../bin); it is opened as a plain resource file.
inline CModule OpenDesklingResources() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.resize(path.find_last_of(L"\\/") + 1);
    path += L"..\\bin\\deskling.exe";
    return CModule(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}
