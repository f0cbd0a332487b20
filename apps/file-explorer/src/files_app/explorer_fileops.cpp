#include "files_app/file_explorer_widget.hpp"

#include "fileops/names.hpp"
#include "fileops/templates.hpp"
#include "fileops/transfer_engine.hpp"
#include "i18n/catalog.hpp"
#include "kavo_ui/sysdirs.hpp"

#include <algorithm>
#include <limits>

namespace files::app {

using kavo_actions::Json;

namespace {


}

void FileExplorerWidget::copy_to_clipboard(const std::vector<size_t>& indices, bool cut)
{
    // Listing order: the selection reports ascending indices.
    std::vector<size_t> sorted = indices;
    std::sort(sorted.begin(), sorted.end());
    m_clipboard = {};
    m_clipboard.cut = cut;
    for (size_t i : sorted)
        if (i < m_entries.size())
            m_clipboard.items.push_back(m_entries[i].path);
    set_status(i18n::t_args(cut ? "files-cut" : "files-copied", {i18n::count_arg("count", m_clipboard.items.size())}));
}

void FileExplorerWidget::paste()
{
    if (m_clipboard.empty())
        return;
    auto mode = m_clipboard.cut ? fileops::TransferMode::Move : fileops::TransferMode::Copy;
    std::vector<std::filesystem::path> failed;
    for (const auto& item : m_clipboard.items)
        if (!fileops::transfer_item(item, m_current_dir, mode))
            failed.push_back(item);
    size_t total = m_clipboard.items.size();
    // After a cut only what could not be moved stays, still cut; a copy stays for another paste.
    if (m_clipboard.cut)
        m_clipboard.items = failed;
    reload();
    if (failed.empty())
        set_status(i18n::t_args("files-pasted", {i18n::count_arg("count", total)}));
    else
        set_status(i18n::t_args("files-pasted-with-failures", {i18n::count_arg("count", total - failed.size()),
                                                               i18n::count_arg("failed", failed.size())}));
}

std::vector<fileops::Template> FileExplorerWidget::templates() const
{
    return fileops::list_templates(fileops::templates_folder(kavo_ui::sysdirs::user_home()));
}

std::optional<size_t> FileExplorerWidget::index_of(const std::filesystem::path& path) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].path == path)
            return i;
    return std::nullopt;
}

void FileExplorerWidget::show_created(const std::filesystem::path& created, const char* status_key)
{
    reload();
    if (auto index = index_of(created)) {
        m_selection.select_only(*index);
        open_rename(*index);
    }
    set_status(i18n::t(status_key));
}

std::expected<Json, std::string> FileExplorerWidget::new_folder(const std::string& name)
{
    auto created = fileops::create_folder(m_current_dir, name.empty() ? i18n::t("files-new-folder-default-name") : name);
    if (!created) {
        set_status(i18n::t_args("files-new-folder-failed", {i18n::arg("error", created.error())}));
        return Json(nullptr);
    }
    show_created(*created, "files-created-folder");
    return Json(nullptr);
}

std::expected<Json, std::string> FileExplorerWidget::new_from_template(const std::filesystem::path& template_path)
{
    auto created = fileops::transfer_item(template_path, m_current_dir, fileops::TransferMode::Copy);
    if (!created) {
        set_status(i18n::t_args("files-new-file-failed", {i18n::arg("error", created.error())}));
        return Json(nullptr);
    }
    show_created(*created, "files-created-file");
    return Json(nullptr);
}

std::expected<Json, std::string> FileExplorerWidget::rename_entry(size_t index, const std::string& name)
{
    if (index >= m_entries.size())
        return std::unexpected("file entry is no longer visible");
    // Without a name the user types it: the inline field opens on the entry.
    if (name.empty()) {
        m_selection.select_only(index);
        open_rename(index);
        return Json(nullptr);
    }
    auto renamed = fileops::rename_item(m_entries[index].path, name);
    if (!renamed) {
        set_status(i18n::t_args("files-rename-failed", {i18n::arg("error", renamed.error())}));
        return std::unexpected(renamed.error());
    }
    reload();
    set_status(i18n::t("files-renamed"));
    return Json(nullptr);
}

void FileExplorerWidget::open_rename(size_t index)
{
    if (index >= m_entries.size())
        return;
    m_rename_target = m_entries[index].path;
    m_rename_input.set_text(m_entries[index].name);
    m_rename_input.begin_edit();
    m_rename_input.select_all();
    m_status_message.reset();
    mark_dirty();
}

std::optional<size_t> FileExplorerWidget::renaming_index() const
{
    return m_rename_target ? index_of(*m_rename_target) : std::nullopt;
}

void FileExplorerWidget::close_rename()
{
    m_rename_target.reset();
    m_rename_input.end_edit();
    mark_dirty();
}

void FileExplorerWidget::commit_rename()
{
    auto index = renaming_index();
    if (!index) {
        close_rename();
        return;
    }
    std::string text = m_rename_input.text();
    auto trimmed = fileops::validate_item_name(text);
    // The unchanged name (blanks around it included) touches nothing and says nothing.
    if (trimmed && *trimmed == m_entries[*index].name) {
        close_rename();
        return;
    }
    auto renamed = fileops::rename_item(m_entries[*index].path, text);
    if (!renamed) {
        // The field stays open with what was typed, so it can be corrected.
        set_status(i18n::t_args("files-rename-failed", {i18n::arg("error", renamed.error())}));
        return;
    }
    close_rename();
    reload();
    if (auto moved = index_of(*renamed))
        m_selection.select_only(*moved);
    set_status(i18n::t("files-renamed"));
}

}

namespace files::app {

kavo_ui::EventResult FileExplorerWidget::handle_rename_event(const kavo_ui::Event& e)
{
    using namespace kavo_ui;
    if (auto* pointer = std::get_if<PointerEvent>(&e)) {
        // A press elsewhere commits what was typed, as leaving the field does.
        if (pointer->action == PointerAction::Down && !m_rename_input.bounds().contains(pointer->position)) {
            commit_rename();
            return EventResult::Ignored;
        }
        if (!m_rename_input.bounds().contains(pointer->position))
            return EventResult::Ignored;
    }
    EventResult handled = m_rename_input.handle_event(e);
    // Plain characters are typed into the field, not run as bindings.
    if (auto* key = std::get_if<KeyEvent>(&e); key && handled == EventResult::Ignored && key->key == Key::Character
        && !key->modifiers.primary && !key->modifiers.alt)
        return EventResult::Ignored;
    while (auto outcome = m_rename_input.take_outcome()) {
        if (*outcome == TextInput::Outcome::Submitted)
            commit_rename();
        else if (*outcome == TextInput::Outcome::Cancelled)
            close_rename();
    }
    mark_dirty();
    return std::holds_alternative<PointerEvent>(e) ? handled : EventResult::Handled;
}

void FileExplorerWidget::show_drag(std::vector<std::filesystem::path> paths, kavo_ui::Point pointer)
{
    m_drag = DragState{std::move(paths), true, pointer};
    update_drop_feedback(pointer);
}

}
