#include "files_app/file_explorer_widget.hpp"

#include "kavo_services/paths.hpp"

#include "i18n/catalog.hpp"
#include "kavo_trash/trash.hpp"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <limits>
#include <set>

namespace files::app {

using kavo_actions::Json;

namespace {


}

bool FileExplorerWidget::in_trash() const
{
    auto trash = trash_folder();
    return trash && kavo_services::path_is_within(m_current_dir, *trash);
}

std::optional<std::set<std::filesystem::path>> FileExplorerWidget::trash_snapshot() const
{
    auto trash = trash_folder();
    if (!trash)
        return std::nullopt;
    std::set<std::filesystem::path> entries;
    DIR* dir = ::opendir(trash->c_str());
    // A Trash that was never used has no folder yet: it is empty, not unknown, so the first
    // move to Trash of a new user can still be undone.
    if (!dir)
        return errno == ENOENT ? std::optional(entries) : std::nullopt;
    while (dirent* d = ::readdir(dir)) {
        std::string_view name(d->d_name);
        if (name != "." && name != "..")
            entries.insert(*trash / std::string(name));
    }
    ::closedir(dir);
    return entries;
}

std::vector<kavo_trash::TrashedItem> FileExplorerWidget::trashed_items_for(const std::vector<std::filesystem::path>& paths,
                                                                         std::string* error) const
{
    std::vector<kavo_trash::TrashedItem> chosen;
    auto all = kavo_trash::list_trashed();
    if (!all) {
        if (error)
            *error = all.error();
        return chosen;
    }
    for (auto& item : *all)
        if (std::find(paths.begin(), paths.end(), item.files_path) != paths.end())
            chosen.push_back(std::move(item));
    return chosen;
}

std::vector<std::filesystem::path> FileExplorerWidget::paths_of(const std::vector<size_t>& indices) const
{
    std::vector<std::filesystem::path> out;
    for (size_t i : indices)
        if (i < m_entries.size())
            out.push_back(m_entries[i].path);
    return out;
}

void FileExplorerWidget::delete_selection(const std::vector<size_t>& indices)
{
    auto paths = paths_of(indices);
    if (paths.empty())
        return;
    if (in_trash()) {
        // Nothing is deleted before the user confirms.
        Sheet sheet;
        sheet.title = i18n::t_args("files-permanent-delete-title", {i18n::count_arg("count", paths.size())});
        sheet.summary = i18n::t_args("files-permanent-delete-summary", {i18n::count_arg("count", paths.size())});
        sheet.details = {i18n::t("files-permanent-delete-loss")};
        sheet.confirm = ConfirmAction{ConfirmKind::PurgeEntries, i18n::t("files-permanent-delete-confirm"), paths, {}, {}};
        open_sheet(std::move(sheet));
        return;
    }
    auto before = trash_snapshot();
    auto trashed = kavo_trash::trash_paths(paths);
    if (!trashed) {
        set_status(i18n::t_args("files-delete-failed", {i18n::arg("error", trashed.error())}));
        return;
    }
    auto after = trash_snapshot();
    m_undo_trash.reset();
    if (before && after) {
        // Only what this move added, and only when it added exactly one entry per item: anything
        // else means another program changed the Trash at the same time.
        std::vector<std::filesystem::path> added;
        std::set_difference(after->begin(), after->end(), before->begin(), before->end(), std::back_inserter(added));
        if (added.size() == paths.size())
            m_undo_trash = std::move(added);
    }
    reload();
    set_status(i18n::t_args("files-moved-to-trash", {i18n::count_arg("count", paths.size())}));
}

void FileExplorerWidget::purge(const std::vector<std::filesystem::path>& paths)
{
    m_undo_trash.reset();
    std::string error;
    auto items = trashed_items_for(paths, &error);
    auto purged = error.empty() ? kavo_trash::purge(items) : std::expected<size_t, std::string>(std::unexpected(error));
    if (!purged) {
        set_status(i18n::t_args("files-delete-failed", {i18n::arg("error", purged.error())}));
        return;
    }
    reload();
    set_status(i18n::t_args("files-permanently-deleted", {i18n::count_arg("count", std::min(*purged, paths.size()))}));
}

void FileExplorerWidget::undo_trash()
{
    auto unavailable = [this] {
        m_undo_trash.reset();
        set_status(i18n::t("files-undo-trash-unavailable"));
    };
    if (!m_undo_trash)
        return unavailable();
    auto snapshot = trash_snapshot();
    if (!snapshot)
        return unavailable();
    for (const auto& entry : *m_undo_trash)
        if (!snapshot->contains(entry))
            return unavailable();
    std::string error;
    auto items = trashed_items_for(*m_undo_trash, &error);
    auto restored = error.empty() ? kavo_trash::restore(items) : std::expected<size_t, std::string>(std::unexpected(error));
    if (!restored) {
        // The record stays: the user may try again.
        set_status(i18n::t_args("files-undo-trash-failed", {i18n::arg("error", restored.error())}));
        return;
    }
    if (*restored != m_undo_trash->size())
        return unavailable();
    m_undo_trash.reset();
    reload();
    set_status(i18n::t_args("files-undo-trash-restored", {i18n::count_arg("count", *restored)}));
}

void FileExplorerWidget::restore_selection(const std::vector<size_t>& indices)
{
    m_undo_trash.reset();
    std::string error;
    auto items = trashed_items_for(paths_of(indices), &error);
    auto restored = error.empty() ? kavo_trash::restore(items) : std::expected<size_t, std::string>(std::unexpected(error));
    if (!restored) {
        set_status(i18n::t_args("files-restore-failed", {i18n::arg("error", restored.error())}));
        return;
    }
    reload();
    set_status(i18n::t_args("files-restored", {i18n::count_arg("count", *restored)}));
}

void FileExplorerWidget::empty_trash()
{
    if (m_entries.empty()) {
        set_status(i18n::t("files-trash-already-empty"));
        return;
    }
    Sheet sheet;
    sheet.title = i18n::t("files-empty-trash-title");
    sheet.summary = i18n::t_args("files-empty-trash-summary", {i18n::count_arg("count", m_entries.size())});
    sheet.details = {i18n::t("files-permanent-delete-loss")};
    sheet.confirm = ConfirmAction{ConfirmKind::EmptyTrash, i18n::t("files-empty-trash-confirm"), {}, {}, {}};
    open_sheet(std::move(sheet));
}

void FileExplorerWidget::empty_trash_confirmed()
{
    m_undo_trash.reset();
    auto all = kavo_trash::list_trashed();
    auto purged = all ? kavo_trash::purge(*all) : std::expected<size_t, std::string>(std::unexpected(all.error()));
    if (!purged) {
        set_status(i18n::t_args("files-empty-trash-failed", {i18n::arg("error", purged.error())}));
        return;
    }
    reload();
    if (*purged == 0)
        set_status(i18n::t("files-trash-already-empty"));
    else
        set_status(i18n::t_args("files-emptied-trash", {i18n::count_arg("count", *purged)}));
}

}
