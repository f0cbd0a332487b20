#include "files_app/file_explorer_widget.hpp"

#include "i18n/catalog.hpp"

namespace files::app {

using namespace kavo_ui;

std::vector<size_t> FileExplorerWidget::selected_indices() const { return m_selection.selected(); }

MenuState FileExplorerWidget::menu_state() const
{
    MenuState s;
    s.situation = folder_situation();
    s.clipboard_has_entries = clipboard_has_entries();
    for (const auto& t : templates())
        s.template_labels.push_back(t.label);
    s.templates_exist = !s.template_labels.empty();
    s.trash_undo_pending = trash_undo_available();
    s.show_hidden = m_show_hidden;
    auto selected = m_selection.selected();
    std::filesystem::path target = m_current_dir;
    if (selected.size() == 1 && m_entries[selected.front()].is_folder)
        target = m_entries[selected.front()].path;
    s.favourite_target_is_favourite = m_favorites->contains(target);
    s.compact = m_shell.is_compact() || m_bounds.width() < 760 * m_theme.ui_scale;
    s.can_go_forward = !m_forward.empty();
    s.view_mode = m_view_mode;
    s.sort_by = m_sort_by;
    s.sort_order = m_sort_order;
    return s;
}

void FileExplorerWidget::open_menu(MenuItems items, Point at)
{
    m_menu.clear();
    for (auto& item : items)
        m_menu.push(std::move(item));
    m_menu.layout(m_bounds, m_theme);
    m_menu.open_at(at, m_bounds);
    mark_dirty();
}

void FileExplorerWidget::open_context_menu(Point at)
{
    std::vector<const model::DirectoryEntry*> selection;
    auto selected = m_selection.selected();
    for (size_t i : selected)
        selection.push_back(&m_entries[i]);
    MenuState state = menu_state();
    state.selection = selection;
    m_menu_target = selected.size() == 1 && m_entries[selected.front()].is_folder ? m_entries[selected.front()].path : m_current_dir;
    open_menu(context_menu_items(state), at);
}

void FileExplorerWidget::open_main_menu(Point at)
{
    m_menu_target = m_current_dir;
    open_menu(main_menu_items(menu_state()), at);
}

void FileExplorerWidget::open_main_menu_at_button() { open_main_menu(below("files.view_menu")); }

void FileExplorerWidget::open_sort_menu(Point at) { open_menu(sort_menu_items(menu_state()), at); }

void FileExplorerWidget::open_place_menu(const std::filesystem::path& place, Point at)
{
    m_menu_target = place;
    open_menu(place_menu_items(m_favorites->contains(place)), at);
}

void FileExplorerWidget::run_menu_command(const std::string& command)
{
    auto selected = m_selection.selected();
    auto target = m_menu_target.value_or(m_current_dir);
    std::optional<Command> run;
    if (auto op = entry_op_from_kind(command); op && !selected.empty())
        run = cmd::EntryAction{*op, selected};
    else if (command == "open" && !selected.empty())
        run = cmd::OpenEntry{m_selection.focused().value_or(selected.front())};
    else if (command == "open-place")
        run = cmd::OpenPath{target};
    else if (command == "rename" && !selected.empty())
        run = cmd::RenameEntry{m_selection.focused().value_or(selected.front()), {}};
    else if (command == "new-folder")
        run = cmd::NewFolder{i18n::t("files-new-folder-default-name")};
    else if (command == "paste")
        run = cmd::Paste{};
    else if (command == "add-favorite")
        run = cmd::AddFavorite{target};
    else if (command == "remove-favorite")
        run = cmd::RemoveFavorite{target};
    else if (command == "hidden")
        run = cmd::ToggleHidden{};
    else if (command == "sort-name")
        run = cmd::SetSort{model::SortBy::Name};
    else if (command == "sort-size")
        run = cmd::SetSort{model::SortBy::Size};
    else if (command == "sort-type")
        run = cmd::SetSort{model::SortBy::Type};
    else if (command == "sort-modified")
        run = cmd::SetSort{model::SortBy::Modified};
    else if (command == "sort-ascending")
        run = cmd::SetSortOrder{model::SortOrder::Ascending};
    else if (command == "sort-descending")
        run = cmd::SetSortOrder{model::SortOrder::Descending};
    else if (command == "list")
        run = cmd::SetViewMode{model::ViewMode::List};
    else if (command == "grid")
        run = cmd::SetViewMode{model::ViewMode::Grid};
    else if (command == "forward")
        run = cmd::GoForward{};
    else if (command == "terminal")
        run = cmd::OpenTerminal{};
    else if (command == "shortcuts")
        run = cmd::ShowShortcuts{};
    else if (command == "undo-trash")
        run = cmd::UndoTrash{};
    else if (command == "empty-trash")
        run = cmd::EmptyTrash{};
    else if (command.starts_with("template:")) {
        auto list = templates();
        size_t n = std::strtoul(command.c_str() + 9, nullptr, 10);
        if (n < list.size())
            run = cmd::NewFromTemplate{list[n].path};
    } else if (command == "extract-archive")
        run = cmd::EntryAction{cmd::EntryOp::Extract, {}};
    if (!run)
        return;
    if (auto result = execute(*run); !result)
        set_status(result.error());
}

EventResult FileExplorerWidget::handle_menu_and_sheet(const Event& e)
{
    if (m_menu.is_open()) {
        EventResult r = m_menu.handle_event(e);
        if (auto chosen = m_menu.take_chosen())
            run_menu_command(chosen->command);
        mark_dirty();
        return r;
    }
    m_sheet_frame.set_composing(std::holds_alternative<ImeEvent>(e) && !std::get<ImeEvent>(e).preedit.empty());
    EventResult r = m_sheet_frame.handle_event(e);
    if (auto outcome = m_sheet_frame.take_outcome()) {
        if (*outcome == SheetFrame::Outcome::Confirm)
            confirm_sheet();
        else
            close_sheet();
    }
    return r;
}

void FileExplorerWidget::open_sheet(Sheet sheet)
{
    m_menu.close();
    m_sheet = std::move(sheet);
    m_sheet_frame.set_sheet(&*m_sheet);
    m_sheet_frame.layout(m_bounds, m_theme);
    m_pending_activation = false;
    mark_dirty();
}

void FileExplorerWidget::close_sheet()
{
    m_sheet.reset();
    m_sheet_frame.set_sheet(nullptr);
    m_pending_activation = false;
    mark_dirty();
}

void FileExplorerWidget::confirm_sheet()
{
    if (!m_sheet || !m_sheet->confirm)
        return;
    ConfirmAction action = *m_sheet->confirm;
    close_sheet();
    switch (action.kind) {
    case ConfirmKind::PurgeEntries: purge(action.paths); break;
    case ConfirmKind::EmptyTrash: empty_trash_confirmed(); break;
    default:
        // The collaborative confirmations belong to those parts of Files; until one is wired
        // its confirmation fails plainly.
        set_status("file operation could not be applied");
        break;
    }
}

Point FileExplorerWidget::menu_key_position() const
{
    // 24 px right of and below the focused row's top-left corner; else the content's corner.
    auto focused = m_selection.focused();
    const Rect viewport = m_scroll.viewport();
    if (focused && *focused < m_entries.size()) {
        Rect row = m_file_view.geometry().item_rect(*focused);
        if (row.intersects(viewport))
            return {row.left + 24 * m_theme.ui_scale, row.top + 24 * m_theme.ui_scale};
    }
    Rect content = m_shell.content_rect();
    return {content.left + 24 * m_theme.ui_scale, content.top + 72 * m_theme.ui_scale};
}

}

namespace files::app {

kavo_ui::EventResult FileExplorerWidget::begin_location_edit()
{
    m_path_bar.begin_edit();
    mark_dirty();
    return kavo_ui::EventResult::Handled;
}

kavo_ui::Point FileExplorerWidget::below(const std::string& control) const
{
    auto* button = const_cast<views::FileToolbar&>(m_toolbar).button(control);
    // Inside an archive Extract stands where View options would.
    if (!button)
        button = const_cast<views::FileToolbar&>(m_toolbar).button("files.archive.extract");
    if (!button)
        return {m_shell.content_rect().right - 200, m_shell.content_rect().top + 44};
    const auto& r = button->bounds();
    return {r.right - kavo_ui::ContextMenu::k_min_width * m_theme.ui_scale, r.bottom + 4};
}

void FileExplorerWidget::control_activated(const std::string& action, std::optional<size_t> index)
{
    std::optional<Command> run;
    if (action == "files.back")
        run = cmd::GoBack{};
    else if (action == "files.forward")
        run = cmd::GoForward{};
    else if (action == "files.up")
        run = cmd::GoUp{};
    else if (action == "files.view-mode" && index)
        run = cmd::SetViewMode{*index == 1 ? model::ViewMode::Grid : model::ViewMode::List};
    else if (action == "files.view_menu")
        open_main_menu(below(action));
    else if (action == "files.sort_menu")
        open_sort_menu(below(action));
    else if (action == "files.archive.extract")
        run = cmd::EntryAction{cmd::EntryOp::Extract, {}};
    else if (action == "files.undo_trash")
        run = cmd::UndoTrash{};
    if (run)
        if (auto result = execute(*run); !result)
            set_status(result.error());
}

}
