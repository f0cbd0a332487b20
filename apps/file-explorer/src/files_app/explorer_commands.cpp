#include "files_app/file_explorer_widget.hpp"

#include "files_app/terminal.hpp"
#include "fileops/archive_browse.hpp"
#include "fileops/archive_create.hpp"
#include "fileops/archive_extract.hpp"
#include "fileops/archive_kind.hpp"
#include "fileops/archive_names.hpp"
#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"
#include "files_app/resource_identity.hpp"
#include "kavo_ui/host.hpp"
#include "kavo_ui/search_catalog.hpp"
#include "kavo_ui/sysdirs.hpp"
#include "kavo_ui/user_dirs.hpp"

#include <cstdlib>

namespace files::app {

using kavo_actions::Json;

namespace {
constexpr const char* k_not_applied = "file operation could not be applied";
}

std::optional<std::filesystem::path> FileExplorerWidget::templates_folder() const
{
    return fileops::templates_folder(kavo_ui::sysdirs::user_home());
}

std::expected<void, std::string> FileExplorerWidget::open_entry(size_t index)
{
    if (index >= m_entries.size())
        return std::unexpected("file entry is no longer visible");
    const auto& entry = m_entries[index];
    if (entry.is_folder) {
        navigate(entry.path);
        return {};
    }
    if (is_inside_archive()) {
        set_status(i18n::t("files-archive-open-after-extract"));
        return {};
    }
    // A ZIP or TAR opens like a folder, read-only.
    if (fileops::archive_kind(entry.path)) {
        navigate(entry.path);
        return {};
    }
    return kavo_ui::host::current().open_path(entry.path.native());
}

std::expected<Json, std::string> FileExplorerWidget::add_favourite(const std::filesystem::path& folder)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return std::unexpected("the current location cannot be a favourite");
    if (!m_favorites->contains(folder)) {
        m_favorites->add(views::classify_place(folder, m_user_dirs));
        m_favorites->save();
        publish_places();
    }
    set_status(i18n::t("files-added-favourite"));
    return Json(nullptr);
}

std::expected<Json, std::string> FileExplorerWidget::remove_favourite(const std::filesystem::path& folder)
{
    if (m_favorites->remove(folder)) {
        m_favorites->save();
        publish_places();
    }
    set_status(i18n::t("files-removed-favourite"));
    return Json(nullptr);
}

void FileExplorerWidget::reorder_favourites(size_t from, size_t to)
{
    if (m_favorites->reorder(from, to)) {
        m_favorites->save();
        publish_places();
    }
    mark_dirty();
}

void FileExplorerWidget::publish_places() const
{
    // Republished whole: a place that went away must not stay findable.
    auto& catalog = kavo_ui::search_catalog();
    const std::string provider = "files.places";
    catalog.add_provider(provider, i18n::t("files-a11y-places"));
    catalog.remove_provider_entries(provider);
    for (size_t row = 0; row < m_sidebar.row_count(); ++row) {
        const auto& place = m_sidebar.row_place(row);
        std::string identity = place_identity(place.path);
        kavo_actions::ActionAddress address{std::string(k_app_id), "files.place", identity, "files.open", Json(identity)};
        catalog.upsert({provider, kavo_services::lossy_utf8(place.path), place.label, kavo_services::lossy_utf8(place.path),
                        i18n::t("files-a11y-places"), views::icon_for_place(place.kind), address.encode()});
    }
}

std::expected<Json, std::string> FileExplorerWidget::run_entry_action(const cmd::EntryAction& action)
{
    using cmd::EntryOp;
    switch (action.op) {
    case EntryOp::Copy:
    case EntryOp::Cut: copy_to_clipboard(action.indices, action.op == EntryOp::Cut); return Json(nullptr);
    case EntryOp::Trash:
    case EntryOp::Purge: delete_selection(action.indices); return Json(nullptr);
    case EntryOp::Restore: restore_selection(action.indices); return Json(nullptr);
    case EntryOp::Compress: compress(action.indices); return Json(nullptr);
    case EntryOp::Extract: extract(action.indices); return Json(nullptr);
    default:
        // Properties, sharing, history, availability and nearby send belong to the
        // collaborative parts of Files; until one is wired its command fails plainly.
        return std::unexpected(k_not_applied);
    }
}

std::expected<Json, std::string> FileExplorerWidget::execute(const Command& command)
{
    if (is_inside_archive() && changes_files(command)) {
        set_status(i18n::t("files-archive-read-only"));
        return Json(nullptr);
    }
    std::expected<Json, std::string> result = Json(nullptr);
    std::visit(
        [&](const auto& c) {
            using T = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<T, cmd::Refresh>) {
                reload();
            } else if constexpr (std::is_same_v<T, cmd::GoUp>) {
                go_up();
            } else if constexpr (std::is_same_v<T, cmd::GoBack>) {
                go_back();
            } else if constexpr (std::is_same_v<T, cmd::GoForward>) {
                go_forward();
            } else if constexpr (std::is_same_v<T, cmd::OpenTerminal>) {
                if (auto started = open_terminal(m_current_dir); !started)
                    result = std::unexpected(started.error());
            } else if constexpr (std::is_same_v<T, cmd::ToggleHidden>) {
                set_show_hidden(!m_show_hidden);
            } else if constexpr (std::is_same_v<T, cmd::SetViewMode>) {
                set_view_mode(c.mode);
            } else if constexpr (std::is_same_v<T, cmd::SetSort>) {
                set_sort(c.key);
            } else if constexpr (std::is_same_v<T, cmd::SetSortOrder>) {
                set_sort_order(c.order);
            } else if constexpr (std::is_same_v<T, cmd::Zoom>) {
                set_zoom(c.step_change == 0 ? 0 : m_zoom + c.step_change);
            } else if constexpr (std::is_same_v<T, cmd::OpenEntry>) {
                if (auto opened = open_entry(c.index); !opened)
                    result = std::unexpected(opened.error());
            } else if constexpr (std::is_same_v<T, cmd::OpenPath>) {
                navigate(c.path);
            } else if constexpr (std::is_same_v<T, cmd::NewFolder>) {
                result = new_folder(c.name);
            } else if constexpr (std::is_same_v<T, cmd::NewFromTemplate>) {
                result = new_from_template(c.template_path);
            } else if constexpr (std::is_same_v<T, cmd::RenameEntry>) {
                result = rename_entry(c.index, c.new_name);
            } else if constexpr (std::is_same_v<T, cmd::Paste>) {
                paste();
            } else if constexpr (std::is_same_v<T, cmd::UndoTrash>) {
                undo_trash();
            } else if constexpr (std::is_same_v<T, cmd::EmptyTrash>) {
                empty_trash();
            } else if constexpr (std::is_same_v<T, cmd::EntryAction>) {
                result = run_entry_action(c);
            } else if constexpr (std::is_same_v<T, cmd::ShowShortcuts>) {
                open_sheet(shortcuts_sheet());
            } else if constexpr (std::is_same_v<T, cmd::AddFavorite>) {
                result = add_favourite(c.folder);
            } else if constexpr (std::is_same_v<T, cmd::RemoveFavorite>) {
                result = remove_favourite(c.folder);
            } else {
                // Sheets, favourites, new items, renames, the clipboard, the Trash and the entry
                // operations are carried out by the parts of Files that own them; until one is
                // wired here its command fails plainly instead of pretending to succeed.
                result = std::unexpected(k_not_applied);
            }
        },
        command);
    if (result)
        mark_dirty();
    return result;
}

}
