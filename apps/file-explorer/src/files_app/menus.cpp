#include "files_app/menus.hpp"

#include "i18n/catalog.hpp"

namespace files::app {

using Item = kavo_ui::ContextMenu::Item;

namespace {

// Adds separators only between items: never first, last or twice in a row.
class MenuBuilder {
public:
    void add(Item item)
    {
        if (m_pending_separator && !m_items.empty())
            m_items.push_back(Item::separator_item());
        m_pending_separator = false;
        m_items.push_back(std::move(item));
    }
    void action(const char* key, std::string command, bool enabled = true) { add(Item::action(i18n::t(key), std::move(command), enabled)); }
    void check(const char* key, std::string command, bool checked) { add(Item::check(i18n::t(key), std::move(command), checked)); }
    void separator() { m_pending_separator = true; }
    MenuItems take() { return std::move(m_items); }

private:
    MenuItems m_items;
    bool m_pending_separator = false;
};

void add_sort_keys(MenuBuilder& menu, const MenuState& s, bool with_checks)
{
    struct Key {
        const char* menu_key;
        const char* plain_key;
        const char* command;
        model::SortBy by;
    } keys[] = {
        {"files-menu-sort-name", "files-sort-name", "sort-name", model::SortBy::Name},
        {"files-menu-sort-size", "files-sort-size", "sort-size", model::SortBy::Size},
        {"files-menu-sort-type", "files-sort-type", "sort-type", model::SortBy::Type},
        {"files-menu-sort-date", "files-sort-date", "sort-modified", model::SortBy::Modified},
    };
    for (const auto& k : keys) {
        if (with_checks)
            menu.check(k.plain_key, k.command, s.sort_by == k.by);
        else
            menu.action(k.menu_key, k.command);
    }
}

MenuItems sort_submenu(const MenuState& s)
{
    MenuBuilder menu;
    add_sort_keys(menu, s, true);
    menu.separator();
    menu.check("files-sort-ascending", "sort-ascending", s.sort_order == model::SortOrder::Ascending);
    menu.check("files-sort-descending", "sort-descending", s.sort_order == model::SortOrder::Descending);
    return menu.take();
}

const char* entry_key(EntryItem item)
{
    switch (item) {
    case EntryItem::Open: return "files-menu-open";
    case EntryItem::Rename: return "files-menu-rename";
    case EntryItem::Cut: return "files-menu-cut";
    case EntryItem::Copy: return "files-menu-copy";
    case EntryItem::SendNearby: return "files-menu-send-nearby";
    case EntryItem::ExtractHere: return "files-archive-extract-here";
    case EntryItem::Compress: return "files-archive-compress";
    case EntryItem::KeepOffline: return "files-keep-offline";
    case EntryItem::AutomaticStorage: return "files-use-automatic-storage";
    case EntryItem::FreeLocalSpace: return "files-free-local-space";
    case EntryItem::RetryDownload: return "files-retry-download";
    case EntryItem::Properties: return "files-menu-properties";
    case EntryItem::ShareLink: return "files-copy-one-time-link";
    case EntryItem::Sharing: return "files-sharing-access";
    case EntryItem::Availability: return "files-availability-title-short";
    case EntryItem::History: return "files-version-history";
    case EntryItem::Restore: return "files-menu-restore";
    case EntryItem::DeletePermanently: return "files-menu-delete-permanently";
    case EntryItem::MoveToTrash: return "files-menu-move-trash";
    }
    return "files-menu-open";
}

const char* entry_command(EntryItem item)
{
    switch (item) {
    case EntryItem::Open: return "open";
    case EntryItem::Rename: return "rename";
    case EntryItem::Cut: return "cut";
    case EntryItem::Copy: return "copy";
    case EntryItem::SendNearby: return "send-nearby";
    case EntryItem::ExtractHere: return "extract";
    case EntryItem::Compress: return "compress";
    case EntryItem::KeepOffline: return "keep-offline";
    case EntryItem::AutomaticStorage: return "automatic-storage";
    case EntryItem::FreeLocalSpace: return "free-local-space";
    case EntryItem::RetryDownload: return "retry-transfer";
    case EntryItem::Properties: return "properties";
    case EntryItem::ShareLink: return "share-link";
    case EntryItem::Sharing: return "sharing";
    case EntryItem::Availability: return "availability";
    case EntryItem::History: return "history";
    case EntryItem::Restore: return "restore";
    case EntryItem::DeletePermanently: return "purge";
    case EntryItem::MoveToTrash: return "trash";
    }
    return "open";
}

// "New File  ›" with one item per template; its command names the template by position.
void add_new_file(MenuBuilder& menu, const MenuState& s)
{
    if (!s.templates_exist || s.template_labels.empty())
        return;
    MenuItems items;
    for (size_t i = 0; i < s.template_labels.size(); ++i)
        items.push_back(Item::action(s.template_labels[i], "template:" + std::to_string(i)));
    menu.add(Item::sub(i18n::t("files-menu-new-file"), std::move(items)));
}

}

MenuItems context_menu_items(const MenuState& s)
{
    MenuBuilder menu;
    bool selected = !s.selection.empty();
    auto items = entry_items(s.situation, s.selection);
    if (s.situation.in_archive) {
        for (auto item : items)
            menu.action(entry_key(item), entry_command(item));
        menu.action("files-archive-extract", "extract-archive");
        return menu.take();
    }
    if (s.situation.in_trash) {
        for (auto item : items)
            menu.action(entry_key(item), entry_command(item));
        menu.action("files-menu-empty-trash", "empty-trash");
        return menu.take();
    }
    bool move_to_trash = false;
    bool in_availability_block = false;
    for (auto item : items) {
        if (item == EntryItem::MoveToTrash) {
            move_to_trash = true;
            continue;
        }
        bool availability = item == EntryItem::KeepOffline || item == EntryItem::AutomaticStorage
            || item == EntryItem::FreeLocalSpace || item == EntryItem::RetryDownload;
        if (item == EntryItem::Cut || (availability && !in_availability_block))
            menu.separator();
        in_availability_block = availability;
        menu.action(entry_key(item), entry_command(item));
    }
    if (selected)
        menu.separator();
    if (s.clipboard_has_entries) {
        menu.action("files-menu-paste", "paste");
        menu.separator();
    }
    menu.action("files-menu-new-folder", "new-folder");
    add_new_file(menu, s);
    if (move_to_trash) {
        menu.separator();
        menu.action("files-menu-move-trash", "trash");
    }
    if (s.favourite_target_is_favourite)
        menu.action("files-menu-remove-favourite", "remove-favorite");
    else
        menu.action("files-menu-add-favourite", "add-favorite");
    menu.action(s.show_hidden ? "files-menu-hide-hidden" : "files-menu-show-hidden", "hidden");
    add_sort_keys(menu, s, false);
    menu.action("files-menu-open-terminal", "terminal");
    return menu.take();
}

MenuItems main_menu_items(const MenuState& s)
{
    MenuBuilder menu;
    if (s.compact) {
        if (s.can_go_forward) {
            menu.action("files-forward", "forward");
            menu.separator();
        }
        menu.check("files-view-list", "list", s.view_mode == model::ViewMode::List);
        menu.check("files-view-grid", "grid", s.view_mode == model::ViewMode::Grid);
        menu.separator();
        menu.add(Item::sub(i18n::t("files-sort-by"), sort_submenu(s)));
        menu.separator();
    }
    if (s.situation.in_archive) {
        menu.action("files-archive-extract", "extract-archive");
        return menu.take();
    }
    menu.action("files-menu-new-folder", "new-folder");
    add_new_file(menu, s);
    if (s.trash_undo_pending) {
        menu.separator();
        menu.action("files-undo-move-trash", "undo-trash");
    }
    menu.separator();
    menu.check("files-menu-show-hidden", "hidden", s.show_hidden);
    if (s.situation.in_trash) {
        menu.separator();
        menu.action("files-menu-empty-trash", "empty-trash");
    }
    menu.separator();
    menu.action("files-menu-open-terminal", "terminal");
    menu.separator();
    menu.action("files-shortcuts-title", "shortcuts");
    return menu.take();
}

MenuItems sort_menu_items(const MenuState& s) { return sort_submenu(s); }

MenuItems place_menu_items(bool is_favourite)
{
    MenuBuilder menu;
    menu.action("files-menu-open", "open-place");
    if (is_favourite) {
        menu.separator();
        menu.action("files-menu-remove-favourite", "remove-favorite");
    }
    return menu.take();
}

}
