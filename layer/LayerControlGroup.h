#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "layer/LayerControlBase.h"

class CImage;
class CLayerControlRootView;

// A control that owns and lays out other controls. Children paint in insertion order (the first is
// at the bottom) and are hit-tested and given timer ticks in reverse. Of the children, only those on
// the group's page (or on page -1, or every child while the group's page is -1) take part.
class CLayerControlGroup : public CLayerControlBase {
public:
    CLayerControlGroup() : CLayerControlBase(kLayerTypeGroup) {}
    ~CLayerControlGroup() override;

    virtual void AddChild(ILayerControl* control);
    virtual void RemoveChild(ILayerControl* control, BOOL destroy, BOOL redraw);
    virtual void RemoveChildByID(int id, BOOL destroy, BOOL redraw);
    virtual void RemoveAll(BOOL redraw);
    virtual ILayerControl* GetChildByID(int id);
    // x, y in window coordinates; a child group answers for the whole of its rect.
    virtual ILayerControl* ChildFromPoint(int x, int y);
    virtual ILayerControl* GetHoverControl() { return nullptr; }
    virtual void SetHoverControl(ILayerControl*) {}
    virtual ILayerControl* GetPressedControl() { return nullptr; }
    virtual void SetPressedControl(ILayerControl*) {}
    virtual void InvalidateAll();
    virtual void Reserved() {}
    virtual void PaintBackground(HDC dc);
    virtual CLayerControlRootView* GetRootView();

    void SetPage(int page, BOOL redraw) override;
    void OnDestroy() override;
    void OnSize(int left, int top, int right, int bottom) override;
    void OnTimer(UINT id) override;
    void Paint(HDC dc) override;

    void SetBackgroundImage(CImage* image) { m_backgroundImage = image; }
    void SetBackgroundColor(COLORREF color) { m_backgroundColor = color; }
    size_t GetChildCount() const { return m_children.size(); }

protected:
    explicit CLayerControlGroup(int type) : CLayerControlBase(type) {}

    bool TakesPart(ILayerControl* child);

    std::vector<ILayerControl*> m_children;
    std::map<int, ILayerControl*> m_childrenById;
    CImage* m_backgroundImage = nullptr;
    COLORREF m_backgroundColor = static_cast<COLORREF>(-1);

private:
    void ForgetTrackedControl(ILayerControl* control);
};
