#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "layer/ILayerWindow.h"
#include "layer/LayerControlBase.h"
#include "layer/LayerControlGroup.h"
#include "unit/calendar/PumpMessages.h"

// Small controls and a stand-in window for the control tree and layered window tests. Every event a
// probe receives is written to a shared trace as "<name>.<event>", with points where they matter.
using Trace = std::vector<std::wstring>;

inline std::wstring PointText(int x, int y) {
    return L"(" + std::to_wstring(x) + L"," + std::to_wstring(y) + L")";
}

class CProbeControl : public CLayerControlBase {
public:
    CProbeControl(Trace* trace, std::wstring name, COLORREF fill = 0)
        : CLayerControlBase(kLayerTypeButton), m_trace(trace), m_name(std::move(name)), m_fill(fill) {}

    void Paint(HDC dc) override {
        Log(L"paint");
        ::SetDCBrushColor(dc, m_fill);
        ::FillRect(dc, &m_rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    }
    void OnSize(int left, int top, int right, int bottom) override {
        Log(L"size" + PointText(left, top) + PointText(right, bottom));
    }
    void OnTimer(UINT id) override { Log(L"tick" + std::to_wstring(id)); }
    void OnMouseMove(UINT, int x, int y) override { Log(L"move" + PointText(x, y)); }
    void OnMouseHover(UINT, int x, int y) override { Log(L"hover" + PointText(x, y)); }
    void OnMouseLeave() override { Log(L"leave"); }
    void OnLButtonDown(UINT, int x, int y, BOOL&) override { Log(L"down" + PointText(x, y)); }
    void OnLButtonUp(UINT, int x, int y, BOOL&) override {
        Log(L"up" + PointText(x, y));
        if (m_window) {
            m_window->PostMessage(WM_COMMAND, MAKEWPARAM(m_id, 0), 0);
        }
    }
    void OnDestroy() override { Log(L"destroy"); }
    void Release() override {
        Log(L"release");
        CLayerControlBase::Release();
    }

private:
    void Log(const std::wstring& event) { m_trace->push_back(m_name + L"." + event); }

    Trace* m_trace;
    std::wstring m_name;
    COLORREF m_fill;
};

// A group that reports the ticks it receives before passing them on.
class CProbeGroup : public CLayerControlGroup {
public:
    CProbeGroup(Trace* trace, std::wstring name) : m_trace(trace), m_name(std::move(name)) {}
    void OnTimer(UINT id) override {
        m_trace->push_back(m_name + L".tick" + std::to_wstring(id));
        CLayerControlGroup::OnTimer(id);
    }

private:
    Trace* m_trace;
    std::wstring m_name;
};

// An ILayerWindow without a window: it records tooltip changes in the trace and keeps the
// rectangles it is asked to repaint (owning them, as the real window's handler would).
class CFakeLayerWindow : public ILayerWindow {
public:
    explicit CFakeLayerWindow(Trace* trace) : m_trace(trace) {}
    BOOL GetOutlineMode() override { return FALSE; }
    void SetOutlineMode(BOOL) override {}
    HWND GetHWND() override { return nullptr; }
    void ShowToolTip(BOOL show, const std::wstring& text) override {
        m_trace->push_back(show ? L"tip.show:" + text : L"tip.hide");
    }
    BOOL SetTimer(UINT, UINT) override { return TRUE; }
    BOOL KillTimer(UINT) override { return TRUE; }
    BOOL PostMessage(UINT msg, WPARAM wParam, LPARAM) override {
        if (msg == WM_COMMAND) {
            m_trace->push_back(L"command" + std::to_wstring(LOWORD(wParam)));
        }
        return TRUE;
    }
    LRESULT SendMessage(UINT, WPARAM, LPARAM) override { return 0; }
    void InvalidateRect(const RECT* rect, BOOL) override { invalidated.push_back(rect ? *rect : RECT{-1, -1, -1, -1}); }

    std::vector<RECT> invalidated;

private:
    Trace* m_trace;
};
