#pragma once

#include <string>
#include <utility>
#include <vector>

// One element of a dialog layout as read from its XML: the element name (a registered control type),
// its attributes in document order and its child elements.
struct UILayoutNode {
    std::wstring type;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    std::vector<UILayoutNode> children;

    // The value of the first attribute of that name, or null.
    const std::wstring* Attribute(const std::wstring& name) const {
        for (const auto& attribute : attributes) {
            if (attribute.first == name) {
                return &attribute.second;
            }
        }
        return nullptr;
    }
};
