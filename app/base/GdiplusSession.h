#pragma once

#include <windows.h>

#include <delayimp.h>
#include <objidl.h>

#include <gdiplus.h>

// GDI+ started for the lifetime of the scope; every GDI+ object must be gone before it ends.
class CGdiplusSession {
public:
    CGdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        m_started = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
        if (m_started) {
            // Where GDI+ is imported late, the stub that binds each function on its first call keeps only the
            // integer argument registers: a first call with float arguments (a pen's width, a matrix) would
            // receive others. So every GDI+ function is bound here at once; with a usual import there is none.
            ::__HrLoadAllImportsForDll("gdiplus.dll");
        }
    }
    ~CGdiplusSession() {
        if (m_started) {
            Gdiplus::GdiplusShutdown(m_token);
        }
    }
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;

    bool IsStarted() const { return m_started; }

private:
    ULONG_PTR m_token = 0;
    bool m_started = false;
};
