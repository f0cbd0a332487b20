#include "kavo_ui/access.hpp"

namespace kavo_ui {

const char* to_string(AccessRole role)
{
    switch (role) {
    case AccessRole::Window: return "window";
    case AccessRole::Group: return "group";
    case AccessRole::Toolbar: return "toolbar";
    case AccessRole::Button: return "button";
    case AccessRole::Toggle: return "toggle";
    case AccessRole::Text: return "text";
    case AccessRole::TextInput: return "text-input";
    case AccessRole::List: return "list";
    case AccessRole::ListItem: return "list-item";
    case AccessRole::Menu: return "menu";
    case AccessRole::MenuItem: return "menu-item";
    case AccessRole::Dialog: return "dialog";
    case AccessRole::Status: return "status";
    case AccessRole::Image: return "image";
    }
    return "group";
}

nlohmann::ordered_json to_json(const AccessNode& node)
{
    static constexpr std::pair<unsigned, const char*> k_states[] = {
        {k_state_selected, "selected"}, {k_state_focused, "focused"}, {k_state_disabled, "disabled"},
        {k_state_checked, "checked"},   {k_state_expanded, "expanded"}, {k_state_busy, "busy"},
    };
    nlohmann::ordered_json states = nlohmann::ordered_json::array();
    for (auto [bit, name] : k_states)
        if (node.states & bit)
            states.push_back(name);
    nlohmann::ordered_json children = nlohmann::ordered_json::array();
    for (const auto& child : node.children)
        children.push_back(to_json(child));
    nlohmann::ordered_json position = nullptr;
    if (node.position)
        position = {node.position->first, node.position->second};
    return {
        {"role", to_string(node.role)},
        {"name", node.name},
        {"value", node.value},
        {"description", node.description},
        {"bounds", {node.bounds.left, node.bounds.top, node.bounds.right, node.bounds.bottom}},
        {"states", states},
        {"position", position},
        {"actions", node.actions},
        {"children", children},
    };
}

}
