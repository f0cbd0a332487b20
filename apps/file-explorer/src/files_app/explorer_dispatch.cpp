#include "files_app/file_explorer_widget.hpp"

#include "files_app/resource_identity.hpp"

namespace files::app {

using kavo_actions::Json;

namespace {

// Failure texts go back to the caller as they stand (plain English, not catalog messages).
constexpr const char* k_invalid_kind = "file command has an invalid operation kind";
constexpr const char* k_not_applied = "file operation could not be applied";

std::optional<Command> folder_command(std::string_view kind, const std::filesystem::path& dir)
{
    using model::SortBy;
    using model::SortOrder;
    using model::ViewMode;
    if (kind == "up") return cmd::GoUp{};
    if (kind == "back") return cmd::GoBack{};
    if (kind == "forward") return cmd::GoForward{};
    if (kind == "terminal") return cmd::OpenTerminal{};
    if (kind == "hidden") return cmd::ToggleHidden{};
    if (kind == "list") return cmd::SetViewMode{ViewMode::List};
    if (kind == "grid") return cmd::SetViewMode{ViewMode::Grid};
    if (kind == "sort-name") return cmd::SetSort{SortBy::Name};
    if (kind == "sort-size") return cmd::SetSort{SortBy::Size};
    if (kind == "sort-type") return cmd::SetSort{SortBy::Type};
    if (kind == "sort-modified") return cmd::SetSort{SortBy::Modified};
    if (kind == "sort-ascending") return cmd::SetSortOrder{SortOrder::Ascending};
    if (kind == "sort-descending") return cmd::SetSortOrder{SortOrder::Descending};
    if (kind == "zoom-in") return cmd::Zoom{+1};
    if (kind == "zoom-out") return cmd::Zoom{-1};
    if (kind == "shortcuts") return cmd::ShowShortcuts{};
    if (kind == "add-favorite") return cmd::AddFavorite{dir};
    if (kind == "remove-favorite") return cmd::RemoveFavorite{dir};
    if (kind == "undo-trash") return cmd::UndoTrash{};
    if (kind == "empty-trash") return cmd::EmptyTrash{};
    return std::nullopt;
}

// The strings of a JSON array payload, or nothing when it is not an array of strings.
std::optional<std::vector<std::string>> strings_of(const Json& payload)
{
    if (!payload.is_array())
        return std::nullopt;
    std::vector<std::string> out;
    for (const auto& v : payload) {
        if (!v.is_string())
            return std::nullopt;
        out.push_back(v.get<std::string>());
    }
    return out;
}

}

std::optional<size_t> FileExplorerWidget::entry_index_by_identity(std::string_view identity) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (entry_identity(m_entries[i]) == identity)
            return i;
    return std::nullopt;
}

std::expected<Json, std::string> FileExplorerWidget::invoke(const kavo_ui::ActionInvocation& call)
{
    // What the views asked for runs first, so the invocation sees the state the user sees.
    run_pending_requests();
    const Json& payload = call.payload;
    kavo_actions::ActionArgs args(call.args);
    const std::string& action = call.action;

    if (action == "files.refresh") {
        if (!std::filesystem::exists(m_current_dir))
            return std::unexpected("The current folder no longer exists");
        return execute(cmd::Refresh{});
    }
    if (action == kavo_actions::k_control_invoke) {
        if (!payload.is_string())
            return std::unexpected("no such control");
        const std::string id = payload.get<std::string>();
        kavo_ui::Button* button = id == m_retry_button.id() && m_load_error ? &m_retry_button
                                : id == m_undo_button.id() && trash_undo_available() ? &m_undo_button
                                                                                     : m_toolbar.button(id);
        if (id == m_path_bar.entry().input().id() || id == "files.path_input") {
            begin_location_edit();
            return Json(nullptr);
        }
        if (!button)
            return std::unexpected("no such control");
        if (!button->enabled())
            return std::unexpected("the control is disabled");
        button->activate();
        run_pending_requests();
        return Json(nullptr);
    }
    if (action == kavo_actions::k_segmented_select) {
        auto index = args.integer("index");
        if (!payload.is_string() || payload.get<std::string>() != "files.view-mode" || !m_toolbar.view_toggle())
            return std::unexpected("no such control");
        if (!index || *index < 0 || *index > 1)
            return std::unexpected("segment index out of range");
        control_activated("files.view-mode", size_t(*index));
        return Json(nullptr);
    }
    if (action == "files.folder-command") {
        if (!payload.is_string())
            return std::unexpected(k_invalid_kind);
        const std::string kind = payload.get<std::string>();
        auto command = folder_command(kind, m_current_dir);
        if (!command)
            return std::unexpected(k_invalid_kind);
        uint8_t expected = kind == "terminal" ? k_refresh_class : k_folder_class;
        if (auto checked = kavo_actions::enforce_operation_type(expected, call.effect_class, k_invalid_kind); !checked)
            return std::unexpected(checked.error());
        if ((kind == "add-favorite" || kind == "remove-favorite") && !std::filesystem::is_directory(m_current_dir))
            return std::unexpected("the current location cannot be a favourite");
        return execute(*command);
    }
    if (action == "files.new-folder") {
        std::string name;
        if (auto value = args.text("value"))
            name = *value;
        else if (payload.is_string())
            name = payload.get<std::string>();
        return execute(cmd::NewFolder{name});
    }
    if (action == "files.open") {
        if (!payload.is_string())
            return std::unexpected("file location is no longer available");
        const std::string target = payload.get<std::string>();
        if (auto index = entry_index_by_identity(target))
            return execute(cmd::OpenEntry{*index});
        for (size_t row = 0; row < m_sidebar.row_count(); ++row)
            if (place_identity(m_sidebar.row_place(row).path) == target)
                return execute(cmd::OpenPath{m_sidebar.row_place(row).path});
        return std::unexpected("file location is no longer available");
    }
    if (action == "files.new-from-template") {
        auto folder = templates_folder();
        std::error_code ec;
        if (!folder || !std::filesystem::is_directory(*folder, ec))
            return std::unexpected("the Templates directory is unavailable");
        if (payload.is_string())
            for (const auto& t : templates())
                if (template_identity(t.path) == payload.get<std::string>())
                    return execute(cmd::NewFromTemplate{t.path});
        return std::unexpected("the template is no longer available");
    }
    if (action == "files.entry-command") {
        auto parts = strings_of(payload);
        if (!parts || parts->size() < 2)
            return std::unexpected("missing file resource");
        auto index = entry_index_by_identity((*parts)[1]);
        if (!index)
            return std::unexpected("file entry is no longer visible");
        m_selection.select_only(*index);
        mark_dirty();
        auto op = entry_op_from_kind((*parts)[0]);
        if (!op)
            return std::unexpected(k_invalid_kind);
        if (*op == cmd::EntryOp::Trash && in_trash())
            return std::unexpected("Use the separately confirmed permanent-delete action for items already in Trash");
        if (*op == cmd::EntryOp::Sharing && !m_entries[*index].record_id)
            return std::unexpected("sharing is unavailable for this file");
        return execute(cmd::EntryAction{*op, {*index}});
    }
    if (action == "files.reveal-record") {
        if (!payload.is_string() || !parse_uuid(payload.get<std::string>()))
            return std::unexpected("invalid collaborative record id");
        return std::unexpected("collaborative record is not indexed yet");
    }
    if (action == "files.paste") {
        if (!clipboard_has_entries())
            return std::unexpected("The clipboard is empty");
        return execute(cmd::Paste{});
    }
    if (action == "files.remote-account") {
        if (!payload.is_object() || !payload.contains("account") || !payload["account"].is_string())
            return std::unexpected("missing remote account id");
        if (!payload.contains("operation") || !payload["operation"].is_string())
            return std::unexpected("missing remote account operation");
        return std::unexpected("remote account is no longer available");
    }
    if (action == "files.nearby-send")
        return std::unexpected("nearby device is no longer available");
    if (action == "files.nearby-decide")
        return std::unexpected("nearby transfer is no longer available");
    if (action == "files.nearby-retry")
        return std::unexpected("nearby transfer is not retryable");
    if (action == "files.nearby-cancel")
        return std::unexpected("nearby transfer is not cancellable");
    if (action == "files.rename") {
        auto parts = strings_of(payload);
        if (!parts || parts->size() < 2)
            return std::unexpected("missing new file name");
        auto index = entry_index_by_identity((*parts)[0]);
        if (!index)
            return std::unexpected("file entry is no longer visible");
        std::string name = args.text("value").value_or((*parts)[1]);
        return execute(cmd::RenameEntry{*index, name});
    }
    if (action == "files.share-link") {
        if (!payload.is_string() || !entry_index_by_identity(payload.get<std::string>()))
            return std::unexpected("file entry is no longer visible");
        return std::unexpected("sharing is unavailable for this file");
    }
    return std::unexpected("unknown file action " + action);
}

}
