#include "ui/UIControlFactory.h"

void CUIControlFactory::Register(const std::wstring& type, Creator creator) {
    m_creators[type] = std::move(creator);
}

std::unique_ptr<CUIControl> CUIControlFactory::Build(const UILayoutNode& node, std::wstring& error) const {
    const auto creator = m_creators.find(node.type);
    if (creator == m_creators.end()) {
        error = L"unknown control type <" + node.type + L">";
        return nullptr;
    }
    std::unique_ptr<CUIControl> control = creator->second();
    if (!control || !ApplyAttributes(*control, node, error)) {
        return nullptr;
    }
    for (const UILayoutNode& child : node.children) {
        std::unique_ptr<CUIControl> built = Build(child, error);
        if (!built) {
            return nullptr;
        }
        control->AddChild(std::move(built));
    }
    return control;
}

bool CUIControlFactory::ApplyAttributes(CUIControl& control, const UILayoutNode& node, std::wstring& error,
                                        const wchar_t* skip) {
    for (const auto& [name, value] : node.attributes) {
        if ((skip && name == skip) || control.SetAttribute(name, value)) {
            continue;
        }
        error = L"<" + node.type + L"> refuses " + name + L"=\"" + value + L"\"";
        return false;
    }
    return true;
}
