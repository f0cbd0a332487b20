#include "files_app/file_explorer_widget.hpp"

#include "files_app/entry_actions.hpp"
#include "files_app/resource_identity.hpp"
#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"


namespace files::app {

using kavo_actions::ActionSpec;
using kavo_actions::Contract;
using kavo_actions::Json;
using kavo_actions::Resource;

namespace {

struct FolderAction {
    const char* operation;
    const char* label;
    const char* kind;
};

// The folder commands published as "files.folder-command", in their order.
constexpr FolderAction k_navigation[] = {
    {"up", "Parent folder", "up"},
    {"back", "Back", "back"},
    {"forward", "Forward", "forward"},
    {"open-terminal", "Open terminal here", "terminal"},
    {"toggle-hidden", "Toggle hidden files", "hidden"},
    {"list", "Use list view", "list"},
    {"grid", "Use grid view", "grid"},
    {"sort-name", "Sort by name", "sort-name"},
    {"sort-size", "Sort by size", "sort-size"},
    {"sort-type", "Sort by type", "sort-type"},
    {"sort-modified", "Sort by modified date", "sort-modified"},
    {"sort-ascending", "Sort ascending", "sort-ascending"},
    {"sort-descending", "Sort descending", "sort-descending"},
    {"zoom-in", "Increase item size", "zoom-in"},
    {"zoom-out", "Decrease item size", "zoom-out"},
    {"keyboard-shortcuts", "Keyboard shortcuts", "shortcuts"},
};

ActionSpec entry_spec(EntryItem item, const std::string& identity, const model::DirectoryEntry& entry)
{
    auto command = [&](const char* operation, const char* label_key, const char* kind) {
        return ActionSpec(operation, i18n::t(label_key), "files.entry-command", Json::array({kind, identity}), k_entry_class);
    };
    switch (item) {
    case EntryItem::Open: return ActionSpec("open", i18n::t("files-menu-open"), "files.open", Json(identity), k_entry_class);
    case EntryItem::Rename:
        return ActionSpec("rename", i18n::t("files-menu-rename"), "files.rename", Json::array({identity, entry.name}), k_entry_class)
            .with_param({"value", i18n::t("files-action-rename-prompt"), Json(entry.name)});
    case EntryItem::Restore: return command("restore", "files-menu-restore", "restore");
    case EntryItem::DeletePermanently: return command("delete-permanently", "files-menu-delete-permanently", "purge").destructive();
    case EntryItem::Properties: return command("properties", "files-menu-properties", "properties");
    case EntryItem::Copy: return command("copy", "files-menu-copy", "copy");
    case EntryItem::Cut: return command("cut", "files-menu-cut", "cut");
    case EntryItem::MoveToTrash: return command("trash", "files-menu-move-trash", "trash");
    case EntryItem::Sharing: return command("sharing", "files-sharing-access", "sharing");
    case EntryItem::History: return command("history", "files-version-history", "history");
    case EntryItem::Compress: return command("compress", "files-archive-compress", "compress");
    case EntryItem::ExtractHere: return command("extract", "files-archive-extract-here", "extract");
    case EntryItem::Availability: return command("availability", "files-availability-title-short", "availability");
    case EntryItem::KeepOffline: return command("keep-offline", "files-keep-offline", "keep-offline");
    case EntryItem::AutomaticStorage: return command("automatic-storage", "files-use-automatic-storage", "automatic-storage");
    case EntryItem::FreeLocalSpace: return command("free-local-space", "files-free-local-space", "free-local-space");
    case EntryItem::RetryDownload: return command("retry-download", "files-retry-download", "retry-transfer");
    case EntryItem::SendNearby: return command("send-nearby", "files-menu-send-nearby", "send-nearby");
    case EntryItem::ShareLink:
        return ActionSpec("share-link", "Create one-time share link", "files.share-link", Json(identity), k_entry_class)
            .execution(kavo_actions::Execution::Tracked)
            .returns();
    }
    return command("open", "files-menu-open", "open");
}

}

FolderSituation FileExplorerWidget::folder_situation() const { return {is_inside_archive(), in_trash()}; }

std::vector<Resource> FileExplorerWidget::resource_list() const
{
    std::vector<Resource> out;
    std::string folder_label = kavo_services::lossy_utf8(m_current_dir.filename());
    if (folder_label.empty())
        folder_label = kavo_services::lossy_utf8(m_current_dir);
    std::error_code ec;
    bool folder_exists = std::filesystem::exists(m_current_dir, ec);
    bool is_dir = folder_exists && std::filesystem::is_directory(m_current_dir, ec);

    Resource folder("files.folder", folder_identity(m_current_dir), folder_label);
    folder.with_action(ActionSpec("refresh", "Refresh folder", "files.refresh", Json(nullptr), k_refresh_class)
                           .with_contract(folder_exists ? Contract::ok()
                                                        : Contract::unavailable("location_missing", "The current folder no longer exists")));
    for (const auto& a : k_navigation) {
        uint8_t effect = std::string_view(a.kind) == "terminal" ? k_refresh_class : k_folder_class;
        folder.with_action(ActionSpec(a.operation, a.label, "files.folder-command", Json(a.kind), effect));
    }
    Contract favourite = is_dir ? Contract::ok()
                                : Contract::unavailable("location_unavailable", "The current location cannot be a favourite");
    folder.with_action(ActionSpec("add-favorite", "Add to Favourites", "files.folder-command", Json("add-favorite"), k_folder_class)
                           .with_contract(favourite));
    folder.with_action(
        ActionSpec("remove-favorite", "Remove from Favourites", "files.folder-command", Json("remove-favorite"), k_folder_class)
            .with_contract(favourite));
    std::string default_name = i18n::t("files-new-folder-default-name");
    folder.with_action(ActionSpec("new-folder", "New folder", "files.new-folder", Json(default_name), k_folder_class)
                           .with_param({"value", "Folder name", Json(default_name)})
                           .with_contract(is_dir ? Contract::ok()
                                                 : Contract::unavailable("location_unavailable",
                                                                         "The current location cannot contain a new folder")));
    folder.with_action(ActionSpec("paste", "Paste", "files.paste", Json("paste"), k_folder_class)
                           .with_contract(clipboard_has_entries() ? Contract::ok()
                                                                  : Contract::unavailable("clipboard_empty", "Copy or cut files before pasting")));
    if (trash_undo_available())
        folder.with_action(ActionSpec("undo-trash", i18n::t("files-undo-move-trash"), "files.folder-command", Json("undo-trash"),
                                      k_folder_class));
    if (in_trash())
        folder.with_action(
            ActionSpec("empty-trash", i18n::t("files-menu-empty-trash"), "files.folder-command", Json("empty-trash"), k_folder_class)
                .destructive());
    out.push_back(std::move(folder));

    // Nearby transfers come here as their source appears.
    for (const auto& t : templates()) {
        std::string identity = template_identity(t.path);
        out.push_back(Resource("files.template", identity, t.label)
                          .with_action(ActionSpec("create", t.label, "files.new-from-template", Json(identity), k_folder_class)
                                           .with_contract(is_dir ? Contract::ok()
                                                                 : Contract::unavailable("location_unavailable",
                                                                                         "The current location cannot contain a new file"))));
    }
    for (size_t row = 0; row < m_sidebar.row_count(); ++row) {
        const auto& place = m_sidebar.row_place(row);
        std::string identity = place_identity(place.path);
        out.push_back(Resource("files.place", identity, place.label)
                          .with_action(ActionSpec("open", "Open", "files.open", Json(identity), k_folder_class)));
    }
    // Remote accounts and search records come here; then one resource per listed entry.
    auto situation = folder_situation();
    for (const auto& entry : m_entries) {
        std::string identity = entry_identity(entry);
        Resource resource("files.entry", identity, entry.name);
        const model::DirectoryEntry* selection[] = {&entry};
        for (EntryItem item : entry_items(situation, selection))
            resource.with_action(entry_spec(item, identity, entry));
        out.push_back(std::move(resource));
    }
    // The window's controls, as the toolkit publishes them.
    if (m_load_error)
        out.push_back(kavo_actions::control_resource(m_retry_button.id(), m_retry_button.label()));
    for (const auto& id : const_cast<views::FileToolbar&>(m_toolbar).control_ids()) {
        if (id == "files.view-mode")
            out.push_back(kavo_actions::segmented_resource(id, i18n::t("files-view-options"), 2));
        else if (auto* b = const_cast<views::FileToolbar&>(m_toolbar).button(id))
            out.push_back(kavo_actions::control_resource(id, b->label().empty() ? b->accessible_name() : b->label()));
    }
    out.push_back(kavo_actions::control_resource("files.path_input", i18n::t("files-path-placeholder")));
    return out;
}

nlohmann::ordered_json FileExplorerWidget::resources()
{
    run_pending_requests();
    return kavo_actions::to_json(resource_list());
}

}
