#pragma once

#include "files_app/entry_actions.hpp"
#include "model/directory_entry.hpp"

#include "kavo_ui/context_menu.hpp"

#include <span>
#include <vector>

namespace files::app {

// What the menus are built from; they are rebuilt from it each time one opens.
struct MenuState {
    FolderSituation situation;
    std::span<const model::DirectoryEntry* const> selection;
    bool clipboard_has_entries = false;
    bool templates_exist = false;
    std::vector<std::string> template_labels;  // the New File submenu, in template order
    bool trash_undo_pending = false;
    bool show_hidden = false;
    bool favourite_target_is_favourite = false;  // the single selected folder, or the current folder
    bool compact = false;
    bool can_go_forward = false;
    model::ViewMode view_mode = model::ViewMode::List;
    model::SortBy sort_by = model::SortBy::Name;
    model::SortOrder sort_order = model::SortOrder::Ascending;
};

using MenuItems = std::vector<kavo_ui::ContextMenu::Item>;

MenuItems context_menu_items(const MenuState& state);
MenuItems main_menu_items(const MenuState& state);
MenuItems sort_menu_items(const MenuState& state);
MenuItems place_menu_items(bool is_favourite);

}
