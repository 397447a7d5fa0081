#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "ui/UIControl.h"
#include "ui/UILayoutNode.h"

// Makes controls by the type names a layout uses and builds a layout element's control subtree.
class CUIControlFactory {
public:
    using Creator = std::function<std::unique_ptr<CUIControl>()>;

    // Makes type known (a later registration of the same name replaces the earlier one).
    void Register(const std::wstring& type, Creator creator);
    // The control for the element and its children, every attribute applied; null, with the first fault in
    // error, for an unknown type or an attribute the control refuses.
    std::unique_ptr<CUIControl> Build(const UILayoutNode& node, std::wstring& error) const;
    // Applies every attribute of the element to the control, except those named in skip; false, with the
    // fault in error, at the first one the control refuses.
    static bool ApplyAttributes(CUIControl& control, const UILayoutNode& node, std::wstring& error,
                                const wchar_t* skip = nullptr);

private:
    std::map<std::wstring, Creator> m_creators;
};
