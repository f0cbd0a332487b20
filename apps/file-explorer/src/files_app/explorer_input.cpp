#include "files_app/file_explorer_widget.hpp"

#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"
#include "kavo_ui/desktop.hpp"
#include "kavo_ui/host.hpp"

namespace files::app {

using namespace kavo_ui;

void FileExplorerWidget::press_on_item(const std::filesystem::path& path)
{
    // A second press on the same entry within the double-click interval opens it.
    auto now = Clock::now();
    bool second = m_last_press && m_last_press->path == path && now - m_last_press->at <= multi_click_interval();
    if (!second) {
        m_last_press = LastPress{path, now};
        return;
    }
    m_last_press.reset();
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].path == path) {
            if (auto opened = execute(cmd::OpenEntry{i}); !opened)
                set_status(opened.error());
            return;
        }
}

void FileExplorerWidget::move_focus(size_t index, bool extend)
{
    if (m_entries.empty())
        return;
    index = std::min(index, m_entries.size() - 1);
    m_selection.move_to(index, extend);
    const auto& g = m_file_view.geometry();
    Rect item = g.item_rect(index);
    float top = item.top - g.bounds().top, bottom = item.bottom - g.bounds().top;
    // Rows scrolled under the pinned list header count as hidden.
    if (m_view_mode == model::ViewMode::List)
        top -= g.header_height();
    m_scroll.scroll_into_view(std::max(0.0f, top), bottom);
    mark_dirty();
}

void FileExplorerWidget::set_focus_area(FocusArea area)
{
    m_focus_area = area;
    m_sidebar.set_focus(area == FocusArea::Sidebar);
    m_path_bar.set_focus(area == FocusArea::Breadcrumbs);
    mark_dirty();
}

EventResult FileExplorerWidget::run_key_command(const Command& command)
{
    // A key's failure has no caller to report to; it becomes the status message.
    if (auto result = execute(command); !result)
        set_status(result.error());
    return EventResult::Handled;
}

EventResult FileExplorerWidget::handle_key(const KeyEvent& key)
{
    const auto& mods = key.modifiers;
    auto focused = m_selection.focused();
    auto selected = m_selection.selected();
    // Character keys first: the Primary combinations, then "?".
    if (key.key == Key::Character && mods.primary) {
        switch (key.character) {
        case 'a':
            m_selection.select_all();
            mark_dirty();
            return EventResult::Handled;
        case 'c': return selected.empty() ? EventResult::Handled : run_key_command(cmd::EntryAction{cmd::EntryOp::Copy, selected});
        case 'x': return selected.empty() ? EventResult::Handled : run_key_command(cmd::EntryAction{cmd::EntryOp::Cut, selected});
        case 'v': return run_key_command(cmd::Paste{});
        case 'z': return run_key_command(cmd::UndoTrash{});
        case 'n':
            if (mods.shift)
                return run_key_command(cmd::NewFolder{i18n::t("files-new-folder-default-name")});
            return EventResult::Ignored;
        case 'h': return run_key_command(cmd::ToggleHidden{});
        case 'l': return begin_location_edit();
        case '0': return run_key_command(cmd::Zoom{0});
        case '+':
        case '=': return run_key_command(cmd::Zoom{+1});
        case '-':
        case '_': return run_key_command(cmd::Zoom{-1});
        default: return EventResult::Ignored;
        }
    }
    if (key.key == Key::Character && key.character == '?' && !mods.alt)
        return run_key_command(cmd::ShowShortcuts{});
    switch (key.key) {
    case Key::F1: return run_key_command(cmd::ShowShortcuts{});
    case Key::Enter:
        // With the error placeholder up, Enter tries again.
        if (m_load_error)
            return run_key_command(cmd::Refresh{});
        if (focused)
            return run_key_command(cmd::OpenEntry{*focused});
        return EventResult::Handled;
    case Key::Down:
        move_focus(focused ? *focused + 1 : 0, mods.shift);
        return EventResult::Handled;
    case Key::Up:
        move_focus(focused && *focused > 0 ? *focused - 1 : 0, mods.shift);
        return EventResult::Handled;
    case Key::Home:
        move_focus(0, mods.shift);
        return EventResult::Handled;
    case Key::End:
        move_focus(m_entries.empty() ? 0 : m_entries.size() - 1, mods.shift);
        return EventResult::Handled;
    case Key::Backspace: return run_key_command(cmd::GoUp{});
    case Key::Left: return mods.alt ? run_key_command(cmd::GoBack{}) : EventResult::Ignored;
    case Key::Right: return mods.alt ? run_key_command(cmd::GoForward{}) : EventResult::Ignored;
    case Key::Delete:
        if (selected.empty())
            return EventResult::Handled;
        return run_key_command(cmd::EntryAction{in_trash() ? cmd::EntryOp::Purge : cmd::EntryOp::Trash, selected});
    case Key::F2:
        if (focused)
            return run_key_command(cmd::RenameEntry{*focused, {}});
        return EventResult::Handled;
    case Key::F5: return run_key_command(cmd::Refresh{});
    case Key::Tab: {
        // Forward: view → sidebar → breadcrumbs → view; Shift goes the other way.
        int step = mods.shift ? 2 : 1;
        set_focus_area(FocusArea((int(m_focus_area) + step) % 3));
        return EventResult::Handled;
    }
    case Key::Menu:
        open_context_menu(menu_key_position());
        return EventResult::Handled;
    case Key::Escape:
        if (m_selection.empty() && !m_selection.anchor())
            return EventResult::Ignored;
        m_selection.clear();
        mark_dirty();
        return EventResult::Handled;
    default: return EventResult::Ignored;
    }
}

}
