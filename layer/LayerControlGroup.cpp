#include "layer/LayerControlGroup.h"

#include <algorithm>

#include "layer/Image.h"
#include "layer/LayerControlRootView.h"
#include "layer/LayerText.h"

CLayerControlGroup::~CLayerControlGroup() {
    // A group destroyed without OnDestroy (its window object going away) still frees its children.
    for (ILayerControl* child : m_children) {
        child->Release();
    }
}

bool CLayerControlGroup::TakesPart(ILayerControl* child) {
    int page = child->GetPage();
    return m_page == -1 || page == -1 || page == m_page;
}

void CLayerControlGroup::AddChild(ILayerControl* control) {
    if (!control) {
        return;
    }
    control->SetParent(this);
    m_children.push_back(control);
    m_childrenById.emplace(control->GetID(), control);
}

void CLayerControlGroup::ForgetTrackedControl(ILayerControl* control) {
    CLayerControlRootView* root = GetRootView();
    if (!root) {
        return;
    }
    if (root->GetHoverControl() == control) {
        root->SetHoverControl(nullptr);
    }
    if (root->GetPressedControl() == control) {
        root->SetPressedControl(nullptr);
    }
}

void CLayerControlGroup::RemoveChild(ILayerControl* control, BOOL destroy, BOOL redraw) {
    if (!control) {
        return;
    }
    ForgetTrackedControl(control);
    auto it = std::find(m_children.begin(), m_children.end(), control);
    if (it == m_children.end()) {
        return;
    }
    m_children.erase(it);
    m_childrenById.erase(control->GetID());
    if (destroy) {
        control->OnDestroy();
        control->Release();
    }
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerControlGroup::RemoveChildByID(int id, BOOL destroy, BOOL redraw) {
    if (ILayerControl* control = GetChildByID(id)) {
        RemoveChild(control, destroy, redraw);
    }
}

void CLayerControlGroup::RemoveAll(BOOL redraw) {
    if (CLayerControlRootView* root = GetRootView()) {
        root->SetHoverControl(nullptr);
        root->SetPressedControl(nullptr);
    }
    std::vector<ILayerControl*> children;
    children.swap(m_children);
    m_childrenById.clear();
    for (ILayerControl* child : children) {
        child->OnDestroy();
        child->Release();
    }
    if (redraw) {
        Invalidate(nullptr);
    }
}

ILayerControl* CLayerControlGroup::GetChildByID(int id) {
    auto it = m_childrenById.find(id);
    return it == m_childrenById.end() ? nullptr : it->second;
}

ILayerControl* CLayerControlGroup::ChildFromPoint(int x, int y) {
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
        ILayerControl* child = *it;
        if (!TakesPart(child) || !child->IsVisible() || !child->HitTest(x, y)) {
            continue;
        }
        if (auto* group = dynamic_cast<CLayerControlGroup*>(child)) {
            return group->ChildFromPoint(x, y);
        }
        return child;
    }
    return nullptr;
}

void CLayerControlGroup::InvalidateAll() {
    Invalidate(nullptr);
}

void CLayerControlGroup::PaintBackground(HDC dc) {
    int width = m_rect.right - m_rect.left;
    int height = m_rect.bottom - m_rect.top;
    if (m_backgroundColor != kNoColor) {
        FillLayerRect(dc, m_rect, m_backgroundColor);
    }
    if (m_backgroundImage) {
        m_backgroundImage->DrawFrame(dc, m_rect.left, m_rect.top, width, height, 0);
    }
}

CLayerControlRootView* CLayerControlGroup::GetRootView() {
    ILayerControl* control = this;
    while (control && control->GetType() != kLayerTypeRootView) {
        control = control->GetParent();
    }
    return static_cast<CLayerControlRootView*>(control);
}

void CLayerControlGroup::SetPage(int page, BOOL redraw) {
    m_page = page;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerControlGroup::OnDestroy() {
    RemoveAll(FALSE);
}

void CLayerControlGroup::OnSize(int left, int top, int right, int bottom) {
    m_rect = RECT{left, top, right, bottom};
}

void CLayerControlGroup::OnTimer(UINT id) {
    // A tick may remove controls (a finished animation), so walk a snapshot.
    std::vector<ILayerControl*> children = m_children;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        ILayerControl* child = *it;
        if (std::find(m_children.begin(), m_children.end(), child) == m_children.end()) {
            continue;
        }
        if (!TakesPart(child) || !child->IsVisible()) {
            continue;
        }
        if (dynamic_cast<CLayerControlGroup*>(child)) {
            child->OnTimer(id);
        } else if (child->GetTimerID() == static_cast<int>(id)) {
            child->OnTimer(id);
        }
    }
}

void CLayerControlGroup::Paint(HDC dc) {
    if (!m_visible) {
        return;
    }
    PaintBackground(dc);
    if (m_children.empty()) {
        return;
    }
    // The viewport moves in device pixels: the group's offset as the DC's world scale maps it.
    POINT offset[2] = {{0, 0}, {m_rect.left, m_rect.top}};
    ::LPtoDP(dc, offset, 2);
    POINT oldOrigin{};
    ::OffsetViewportOrgEx(dc, offset[1].x - offset[0].x, offset[1].y - offset[0].y, &oldOrigin);
    BOOL outline = m_window ? m_window->GetOutlineMode() : FALSE;
    for (ILayerControl* child : m_children) {
        if (!TakesPart(child) || !child->IsVisible()) {
            continue;
        }
        RECT childRect{};
        child->GetRect(&childRect);
        if (!::RectVisible(dc, &childRect)) {
            continue;
        }
        int saved = ::SaveDC(dc);
        child->Paint(dc);
        ::RestoreDC(dc, saved);
        if (outline) {
            ::DrawFocusRect(dc, &childRect);
        }
    }
    ::SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
}
