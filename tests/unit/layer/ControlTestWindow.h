#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "layer/Image.h"
#include "layer/LayerWindowBase.h"
#include "tests/unit/layer/LayerProbes.h"
#include "tests/unit/layer/SkinTestSupport.h"

// A layered window that keeps the commands its controls post, for tests that drive real controls and
// read back what they drew into the window bitmap.
class CControlTestWnd : public CLayerWindowBase<CControlTestWnd> {
public:
    static const wchar_t* GetWndClassName() { return L"DesklingControlTestWnd"; }

    BEGIN_LAYER_MSG_MAP()
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()

    // Each command as (id, lParam).
    std::vector<std::pair<int, LPARAM>> commands;

private:
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
        commands.emplace_back(LOWORD(wParam), lParam);
        return 0;
    }
};

// Pixel channels as the window bitmap stores them (0xAARRGGBB, alpha premultiplied).
inline BYTE PixelAlpha(DWORD pixel) {
    return static_cast<BYTE>(pixel >> 24);
}
inline BYTE PixelRed(DWORD pixel) {
    return static_cast<BYTE>(pixel >> 16);
}
inline BYTE PixelGreen(DWORD pixel) {
    return static_cast<BYTE>(pixel >> 8);
}
inline BYTE PixelBlue(DWORD pixel) {
    return static_cast<BYTE>(pixel);
}

// The stored pixel at (x, y) of a bottom-up 32-bit DIB section, such as a window bitmap.
inline DWORD BitmapPixel(HBITMAP bitmap, int x, int y) {
    DIBSECTION dib{};
    if (!::GetObjectW(bitmap, sizeof(dib), &dib) || !dib.dsBm.bmBits) {
        return 0;
    }
    ::GdiFlush();
    const auto* row = static_cast<const BYTE*>(dib.dsBm.bmBits) +
                      static_cast<size_t>(dib.dsBm.bmHeight - 1 - y) * dib.dsBm.bmWidthBytes;
    return reinterpret_cast<const DWORD*>(row)[x];
}

// A strip of solid frames, one colour each (0x00BBGGRR), built in memory.
inline std::unique_ptr<CImage> MakeStrip(std::initializer_list<COLORREF> colors, int frameWidth, int height) {
    int count = static_cast<int>(colors.size());
    auto* bitmap = new Gdiplus::Bitmap(frameWidth * count, height, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(bitmap);
        int k = 0;
        for (COLORREF color : colors) {
            Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color)));
            graphics.FillRectangle(&brush, k++ * frameWidth, 0, frameWidth, height);
        }
    }
    auto image = std::make_unique<CImage>();
    image->Attach(bitmap);
    image->SetFrameCount(count);
    return image;
}

// A suite with GDI+ and the common controls' tooltips started, and one layered window of class Wnd.
template <class Wnd> class CLayeredWindowTest : public CGdiplusTest {
protected:
    static void SetUpTestSuite() {
        CGdiplusTest::SetUpTestSuite();
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&icc);
    }
    void TearDown() override {
        if (wnd.m_hWnd) {
            wnd.DestroyWindow();
        }
        PumpMessages();
    }

    // Creates the window at (x, y) and shows it without activating it.
    bool Open(int x, int y, int width, int height) {
        RECT rect{x, y, x + width, y + height};
        if (!wnd.Create(nullptr, &rect)) {
            return false;
        }
        ::ShowWindow(wnd.m_hWnd, SW_SHOWNOACTIVATE);
        PumpMessages();
        return true;
    }

    Wnd wnd;
};

// A 200 x 120 control test window and a bold 20-pixel font for captions.
class ControlWindowTest : public CLayeredWindowTest<CControlTestWnd> {
protected:
    static constexpr int kLeft = 100;
    static constexpr int kTop = 100;

    void SetUp() override {
        CGdiplusTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        font = std::make_unique<Gdiplus::Font>(InstalledTrueTypeFace().c_str(), 20.0f, Gdiplus::FontStyleBold,
                                               Gdiplus::UnitPixel);
        ASSERT_EQ(font->GetLastStatus(), Gdiplus::Ok);
        ASSERT_TRUE(Open(kLeft, kTop, 200, 120));
    }

    template <class Control>
    Control* Add(Control* control, RECT rect, int id = 1, CLayerControlGroup* parent = nullptr) {
        control->Create(wnd.m_hWnd, &wnd, id, rect, 0);
        (parent ? parent : wnd.GetRootView())->AddChild(control);
        return control;
    }

    // Repaints the whole window and runs the queue (commands land in wnd.commands).
    void Repaint() {
        wnd.InvalidateRect(nullptr, FALSE);
        PumpMessages();
    }

    // Pointer input goes straight to the root view, as the window hands it on: sent mouse messages would
    // also start leave tracking, and the real pointer is not over the window, so it would leave at once.
    void MouseMove(int x, int y) {
        wnd.GetRootView()->OnMouseMove(0, x, y);
        PumpMessages();
    }
    void Press(int x, int y) {
        BOOL handled = TRUE;
        wnd.GetRootView()->OnLButtonDown(MK_LBUTTON, x, y, handled);
        PumpMessages();
    }
    void Release(int x, int y) {
        BOOL handled = TRUE;
        wnd.GetRootView()->OnLButtonUp(0, x, y, handled);
        PumpMessages();
    }
    void Click(int x, int y) {
        Press(x, y);
        Release(x, y);
    }

    DWORD Pixel(int x, int y) const { return BitmapPixel(wnd.GetWindowBitmap(), x, y); }

    // The pixels of a rectangle of the window bitmap.
    std::vector<DWORD> Pixels(const RECT& area) const {
        std::vector<DWORD> pixels;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                pixels.push_back(Pixel(x, y));
            }
        }
        return pixels;
    }

    std::unique_ptr<Gdiplus::Font> font;
};
