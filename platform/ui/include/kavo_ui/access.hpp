#pragma once

#include "kavo_ui/geometry.hpp"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavo_ui {

enum class AccessRole {
    Window,
    Group,
    Toolbar,
    Button,
    Toggle,
    Text,
    TextInput,
    List,
    ListItem,
    Menu,
    MenuItem,
    Dialog,
    Status,
    Image,
};

enum AccessState : unsigned {
    k_state_selected = 1u << 0,
    k_state_focused = 1u << 1,
    k_state_disabled = 1u << 2,
    k_state_checked = 1u << 3,
    k_state_expanded = 1u << 4,
    k_state_busy = 1u << 5,
};

// One node of the accessibility tree the toolkit publishes (and bridges to assistive technology).
struct AccessNode {
    AccessRole role = AccessRole::Group;
    std::string name;
    std::string value;
    std::string description;
    Rect bounds;
    unsigned states = 0;
    std::optional<std::pair<size_t, size_t>> position;  // index (1-based) of count
    std::vector<std::string> actions;
    std::vector<AccessNode> children;
};

const char* to_string(AccessRole role);
nlohmann::ordered_json to_json(const AccessNode& node);

}
