#include "files_app/file_explorer_widget.hpp"

#include "kavo_services/utf8.hpp"
#include "kavo_ui/desktop.hpp"
#include "kavo_ui/host.hpp"

namespace files::app {

using namespace kavo_ui;

void FileExplorerWidget::open_entry(size_t index)
{
    if (index >= m_entries.size())
        return;
    const auto& entry = m_entries[index];
    if (entry.is_folder) {
        navigate(entry.path);
        return;
    }
    auto opened = host::current().open_path(entry.path.native());
    if (!opened)
        set_status(opened.error());
}

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
        if (m_entries[i].path == path)
            return open_entry(i);
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

EventResult FileExplorerWidget::handle_key(const KeyEvent& key)
{
    const auto& mods = key.modifiers;
    auto focused = m_selection.focused();
    if (key.key == Key::Character && mods.primary) {
        switch (key.character) {
        case 'a':
            m_selection.select_all();
            mark_dirty();
            return EventResult::Handled;
        case 'h':
            set_show_hidden(!m_show_hidden);
            return EventResult::Handled;
        case '0':
            set_zoom(0);
            return EventResult::Handled;
        case '+':
        case '=':
            set_zoom(m_zoom + 1);
            return EventResult::Handled;
        case '-':
        case '_':
            set_zoom(m_zoom - 1);
            return EventResult::Handled;
        default: return EventResult::Ignored;
        }
    }
    switch (key.key) {
    case Key::Enter:
        if (focused)
            open_entry(*focused);
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
    case Key::Backspace:
        go_up();
        return EventResult::Handled;
    case Key::Left:
        if (mods.alt) {
            go_back();
            return EventResult::Handled;
        }
        return EventResult::Ignored;
    case Key::Right:
        if (mods.alt) {
            go_forward();
            return EventResult::Handled;
        }
        return EventResult::Ignored;
    case Key::F5:
        reload();
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
