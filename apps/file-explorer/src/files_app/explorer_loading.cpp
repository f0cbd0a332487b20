#include "files_app/file_explorer_widget.hpp"

#include "fileops/archive_browse.hpp"
#include "fileops/archive_create.hpp"
#include "fileops/archive_extract.hpp"
#include "fileops/archive_kind.hpp"
#include "fileops/archive_names.hpp"
#include "fileops/archive_paths.hpp"
#include "i18n/catalog.hpp"
#include "model/listing.hpp"
#include "model/sorting.hpp"
#include "model/workspace_roots.hpp"

#include <unordered_set>

namespace files::app {

using namespace std::chrono_literals;

kavo_ui::Clock::duration poll_interval(size_t n)
{
    if (n < 512)
        return 750ms;
    if (n < 4096)
        return 3s;
    if (n < 20000)
        return 12s;
    return 30s;
}

std::expected<model::EntryList, std::string> FileExplorerWidget::list_current() const
{
    std::expected<model::EntryList, std::string> listing;
    if (m_archive) {
        listing = fileops::list_archive_folder(m_archive->first, m_archive->second);
    } else {
        bool collaborative = model::is_inside_roots(m_current_dir, m_workspace_roots);
        listing = model::list_directory(m_current_dir, collaborative);
    }
    if (!listing)
        return listing;
    if (!m_show_hidden)
        model::remove_hidden(*listing);
    model::sort_entries(*listing, m_sort_by, m_sort_order);
    return listing;
}

void FileExplorerWidget::replace_entries(model::EntryList entries)
{
    m_entries = std::move(entries);
    m_selection.reset(m_entries.size());
    // Requests for the old listing that have not started are of no use any more.
    if (m_thumbnails)
        m_thumbnails->begin_generation();
    m_thumb_images.clear();
}

void FileExplorerWidget::reload()
{
    // The roots are looked up afresh on every load (they are a handful of status reads) and
    // reused by the silent refreshes and the path bar in between.
    m_workspace_roots = model::workspace_roots();
    // A folder inside an archive file is listed from the archive, read-only.
    m_archive = fileops::split_archive_path(m_current_dir);
    m_loading = true;
    m_selection.clear();
    m_load_error.reset();
    m_status_message.reset();
    auto listing = list_current();
    if (listing) {
        replace_entries(std::move(*listing));
    } else {
        replace_entries({});
        m_load_error = i18n::t_args("files-directory-read-failed", {i18n::arg("error", listing.error())});
    }
    if (listing && m_archive)
        m_status_message = i18n::t("files-archive-read-only");
    m_loading = false;
    ++m_listing_generation;
    mark_dirty();
}

FileExplorerWidget::SelectionByPath FileExplorerWidget::capture_selection() const
{
    SelectionByPath saved;
    for (size_t i : m_selection.selected())
        saved.selected.insert(m_entries[i].path.native());
    saved.focused_index = m_selection.focused();
    if (saved.focused_index)
        saved.focused = m_entries[*saved.focused_index].path;
    return saved;
}

void FileExplorerWidget::restore_selection(const SelectionByPath& saved)
{
    std::vector<size_t> reselect;
    std::optional<size_t> focus;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (saved.selected.contains(m_entries[i].path.native()))
            reselect.push_back(i);
        if (saved.focused && m_entries[i].path == *saved.focused)
            focus = i;
    }
    m_selection.reset(m_entries.size());
    m_selection.set_selected(reselect);
    // When the focused entry went away the focus stays at its old position, the nearest
    // neighbour in the new list.
    if (!focus && saved.focused_index && !m_entries.empty())
        focus = std::min(*saved.focused_index, m_entries.size() - 1);
    m_selection.set_focused(focus);
}

void FileExplorerWidget::poll_folder()
{
    auto listing = list_current();
    // A failed refresh (the folder vanished or became unreadable) changes nothing, and an
    // unchanged one is dropped before anything else is touched.
    if (!listing || *listing == m_entries)
        return;
    auto saved = capture_selection();
    m_entries = std::move(*listing);
    restore_selection(saved);
    if (m_thumbnails)
        m_thumbnails->begin_generation();
    mark_dirty();
}

void FileExplorerWidget::resort()
{
    auto saved = capture_selection();
    model::sort_entries(m_entries, m_sort_by, m_sort_order);
    restore_selection(saved);
    mark_dirty();
}

void FileExplorerWidget::set_sort(model::SortBy key)
{
    m_sort_by = key;
    resort();
}

void FileExplorerWidget::sort_by_column(model::SortBy key)
{
    if (key == m_sort_by)
        m_sort_order = m_sort_order == model::SortOrder::Ascending ? model::SortOrder::Descending : model::SortOrder::Ascending;
    else
        m_sort_by = key;
    resort();
}

void FileExplorerWidget::set_sort_order(model::SortOrder order)
{
    if (order == m_sort_order)
        return;
    m_sort_order = order;
    resort();
}

void FileExplorerWidget::set_show_hidden(bool show)
{
    m_show_hidden = show;
    reload();
}

}
