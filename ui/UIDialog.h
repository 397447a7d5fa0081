#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/base/DeskMessages.h"
#include "app/base/DpiScale.h"
#include "app/base/WindowImpl.h"
#include "ui/INotifyUI.h"
#include "ui/UIControlFactory.h"
#include "ui/UIDropList.h"
#include "ui/UISurface.h"

class CUICombo;

// A dialog window built from an XML layout of the resource package: a per-pixel-alpha layered popup whose
// windowless controls are drawn with GDI+ into one frame. The layout's root element <Window size="w,h" ...>
// takes the control attributes for the panel itself; every other element is a control type registered with
// RegisterControl. Notifications go to the notifier. The layout is in pixels at 96 DPI; the window is drawn at
// the scale it is given, and mouse positions are taken back to the layout's terms. UI thread only.
class CUIDialog : public CWindowImplT<CUIDialog, CWinTraits<WS_POPUP, WS_EX_LAYERED | WS_EX_TOOLWINDOW>> {
public:
    static const wchar_t* GetWndClassName() { return L"DesklingUIDialog"; }

    CUIDialog() = default;
    ~CUIDialog() override;

    void RegisterControl(const std::wstring& type, CUIControlFactory::Creator creator);
    // Builds the controls of a layout document (replacing earlier ones); false, with the fault in error, for
    // a document that is not XML, a root that is not <Window> with a size, or a control the layout misuses.
    bool BuildLayout(const std::vector<uint8_t>& document, std::wstring& error);
    // Builds the named layout of the resource package and creates the hidden window, owned by owner. A
    // missing or faulty layout is logged and gives false.
    bool CreateFromLayout(HWND owner, const std::wstring& layoutName);

    CUIControl* FindControl(const std::wstring& name) const;
    void SetNotifier(INotifyUI* notifier) { m_notifier = notifier; }
    void SendNotify(CUIControl* sender, const wchar_t* type, int index = -1);

    // Asks for a new frame; several requests before it is drawn give one frame.
    void Invalidate();
    // The dialog's font of that pixel size in the registered face; null when GDI+ has none.
    const Gdiplus::Font* GetFont(int pixelSize, bool bold);
    void OpenDropList(CUICombo* combo);
    CUIDropList& DropList() { return m_dropList; }

    SIZE GetSize() const { return m_size; }
    // The scale to draw at from now on, as a DPI (96 for 100 %); a shown dialog is redrawn at it in place.
    void SetDpi(int dpi);
    int GetDpi() const { return m_dpi; }
    // Shows the window at a screen position (not activated) or hides it; hiding closes an open list.
    void ShowAt(POINT screenPosition);
    void Hide();
    void MoveTo(POINT screenPosition);
    bool IsShown() const { return IsWindow() && ::IsWindowVisible(m_hWnd); }

    BEGIN_MSG_MAP(CUIDialog)
    MSG_WM_MOUSEMOVE(OnMouseMove)
    MSG_WM_MOUSELEAVE(OnMouseLeave)
    MSG_WM_LBUTTONDOWN(OnLButtonDown)
    MSG_WM_LBUTTONUP(OnLButtonUp)
    MSG_WM_SETCURSOR(OnSetCursor)
    MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
    MESSAGE_HANDLER(WM_UI_REPAINT, OnRepaint)
    MESSAGE_HANDLER(WM_DPICHANGED, OnDpiChanged)
    END_MSG_MAP()

private:
    void OnMouseMove(UINT, POINT point);
    void OnMouseLeave();
    void OnLButtonDown(UINT, POINT point);
    void OnLButtonUp(UINT, POINT point);
    BOOL OnSetCursor(HWND, UINT, UINT);
    LRESULT OnMouseWheel(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnRepaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDpiChanged(UINT, WPARAM wParam, LPARAM, BOOL&);

    void SetHot(CUIControl* control);
    void Render();
    POINT ToLayout(POINT client) const;
    POINT ScreenOrigin() const;

    CUIControlFactory m_factory;
    std::unique_ptr<CUIControl> m_root;
    SIZE m_size{};
    int m_dpi = kBaseDpi;
    INotifyUI* m_notifier = nullptr;
    CUIControl* m_hot = nullptr;
    CUIControl* m_pressed = nullptr;
    bool m_tracking = false;
    bool m_repaintPosted = false;
    CUISurface m_surface;
    CUIDropList m_dropList;
    std::map<std::pair<int, bool>, std::unique_ptr<Gdiplus::Font>> m_fonts;
};
