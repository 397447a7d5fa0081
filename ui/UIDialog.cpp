#include "ui/UIDialog.h"

#include <windowsx.h>

#include <algorithm>

#include "app/base/SmartLogger.h"
#include "ui/UICombo.h"
#include "ui/UILayoutReader.h"
#include "ui/UIResources.h"

CUIDialog::~CUIDialog() {
    DestroyWindow();
}

void CUIDialog::RegisterControl(const std::wstring& type, CUIControlFactory::Creator creator) {
    m_factory.Register(type, std::move(creator));
}

bool CUIDialog::BuildLayout(const std::vector<uint8_t>& document, std::wstring& error) {
    UILayoutNode layout;
    if (!ReadUILayout(document, layout, error)) {
        return false;
    }
    const std::wstring* size = layout.Attribute(L"size");
    int width = 0;
    int height = 0;
    if (layout.type != L"Window" || !size || !ParseUISize(*size, width, height) || width == 0 || height == 0) {
        error = L"the root is not <Window> with a size";
        return false;
    }
    auto root = std::make_unique<CUIControl>();
    if (!root->SetAttribute(L"pos", L"0,0," + std::to_wstring(width) + L"," + std::to_wstring(height)) ||
        !CUIControlFactory::ApplyAttributes(*root, layout, error, L"size")) {
        return false;
    }
    for (const UILayoutNode& child : layout.children) {
        std::unique_ptr<CUIControl> control = m_factory.Build(child, error);
        if (!control) {
            return false;
        }
        root->AddChild(std::move(control));
    }
    m_dropList.Close();
    m_hot = nullptr;
    m_pressed = nullptr;
    m_root = std::move(root);
    m_root->SetManager(this);
    m_size = SIZE{width, height};
    Invalidate();
    return true;
}

bool CUIDialog::CreateFromLayout(HWND owner, const std::wstring& layoutName) {
    std::vector<uint8_t> document;
    std::wstring error;
    if (!CUIResources::GetInstance()->LoadFile(layoutName, document)) {
        return false;
    }
    if (!BuildLayout(document, error)) {
        WriteLog(L"[tid:%d] dialog layout %s: %s", ::GetCurrentThreadId(), layoutName.c_str(), error.c_str());
        return false;
    }
    const RECT place{0, 0, m_size.cx, m_size.cy};
    if (!IsWindow() && !Create(owner, &place)) {
        WriteLog(L"[tid:%d] dialog window for %s not created, error %d", ::GetCurrentThreadId(), layoutName.c_str(),
                 ::GetLastError());
        return false;
    }
    return true;
}

CUIControl* CUIDialog::FindControl(const std::wstring& name) const {
    return m_root ? m_root->FindControl(name) : nullptr;
}

void CUIDialog::SendNotify(CUIControl* sender, const wchar_t* type, int index) {
    if (m_notifier) {
        m_notifier->Notify(TNotifyUI{type, sender, index});
    }
}

void CUIDialog::Invalidate() {
    if (!m_repaintPosted && IsWindow()) {
        m_repaintPosted = PostMessage(WM_UI_REPAINT) != FALSE;
    }
}

const Gdiplus::Font* CUIDialog::GetFont(int pixelSize, bool bold) {
    std::unique_ptr<Gdiplus::Font>& font = m_fonts[{pixelSize, bold}];
    if (!font) {
        // A face the system lacks makes no font at all: the generic sans face stands in.
        Gdiplus::FontFamily family(CUIResources::GetInstance()->GetFaceName().c_str());
        const Gdiplus::FontFamily* use = family.IsAvailable() ? &family : Gdiplus::FontFamily::GenericSansSerif();
        font = std::make_unique<Gdiplus::Font>(use, static_cast<Gdiplus::REAL>(pixelSize),
                                               bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular,
                                               Gdiplus::UnitPixel);
        if (!font->IsAvailable()) {
            font.reset();
        }
    }
    return font.get();
}

void CUIDialog::OpenDropList(CUICombo* combo) {
    m_dropList.Open(m_hWnd, combo, m_dpi);
}

void CUIDialog::SetDpi(int dpi) {
    dpi = std::max(dpi, kBaseDpi);
    if (dpi == m_dpi) {
        return;
    }
    m_dpi = dpi;
    m_dropList.Close();
    if (IsShown()) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, ScaleToDpi(m_size.cx, m_dpi), ScaleToDpi(m_size.cy, m_dpi),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Render();
    }
}

void CUIDialog::ShowAt(POINT screenPosition) {
    if (!IsWindow()) {
        return;
    }
    ::SetWindowPos(m_hWnd, nullptr, screenPosition.x, screenPosition.y, ScaleToDpi(m_size.cx, m_dpi),
                   ScaleToDpi(m_size.cy, m_dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    Render();
    ::ShowWindow(m_hWnd, SW_SHOWNA);
}

void CUIDialog::Hide() {
    m_dropList.Close();
    if (IsWindow()) {
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

void CUIDialog::MoveTo(POINT screenPosition) {
    m_dropList.Close();
    if (IsWindow()) {
        ::SetWindowPos(m_hWnd, nullptr, screenPosition.x, screenPosition.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CUIDialog::SetHot(CUIControl* control) {
    if (control == m_hot) {
        return;
    }
    if (m_hot) {
        m_hot->SetHot(false);
    }
    m_hot = control;
    if (m_hot) {
        m_hot->SetHot(true);
    }
}

void CUIDialog::OnMouseMove(UINT, POINT point) {
    if (!m_tracking) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
        m_tracking = ::TrackMouseEvent(&track) != FALSE;
    }
    if (m_root) {
        SetHot(m_root->FindClickable(ToLayout(point)));
    }
}

void CUIDialog::OnMouseLeave() {
    m_tracking = false;
    SetHot(nullptr);
}

void CUIDialog::OnLButtonDown(UINT, POINT point) {
    m_pressed = m_root ? m_root->FindClickable(ToLayout(point)) : nullptr;
    if (m_pressed) {
        m_pressed->SetPushed(true);
        ::SetCapture(m_hWnd);
    }
}

void CUIDialog::OnLButtonUp(UINT, POINT point) {
    CUIControl* pressed = std::exchange(m_pressed, nullptr);
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
    if (!pressed) {
        return;
    }
    pressed->SetPushed(false);
    if (m_root && m_root->FindClickable(ToLayout(point)) == pressed) {
        pressed->OnClick();
    }
}

BOOL CUIDialog::OnSetCursor(HWND, UINT, UINT) {
    ::SetCursor(::LoadCursorW(nullptr, m_hot ? IDC_HAND : IDC_ARROW));
    return TRUE;
}

LRESULT CUIDialog::OnMouseWheel(UINT, WPARAM wParam, LPARAM, BOOL&) {
    // The wheel goes to the focused window, which an open list never is: the dialog passes it on.
    m_dropList.Scroll(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1);
    return 0;
}

LRESULT CUIDialog::OnRepaint(UINT, WPARAM, LPARAM, BOOL&) {
    m_repaintPosted = false;
    if (IsShown()) {
        Render();
    }
    return 0;
}

LRESULT CUIDialog::OnDpiChanged(UINT, WPARAM wParam, LPARAM, BOOL&) {
    SetDpi(LOWORD(wParam));
    return 0;
}

POINT CUIDialog::ToLayout(POINT client) const {
    return POINT{LayoutPixelAt(client.x, m_dpi), LayoutPixelAt(client.y, m_dpi)};
}

POINT CUIDialog::ScreenOrigin() const {
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    return POINT{window.left, window.top};
}

void CUIDialog::Render() {
    if (!m_root || !m_surface.Begin(m_size.cx, m_size.cy, m_dpi)) {
        return;
    }
    m_root->Paint(*m_surface.Graphics());
    if (!m_surface.Present(m_hWnd, ScreenOrigin())) {
        WriteLog(L"[tid:%d] dialog frame not shown, error %d", ::GetCurrentThreadId(), ::GetLastError());
    }
}
