#include "files_app/file_explorer_widget.hpp"

#include "fileops/transfer_engine.hpp"
#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"
#include "kavo_ui/dnd.hpp"

#include <spdlog/spdlog.h>

#include <limits>

namespace files::app {

using namespace kavo_ui;

void FileExplorerWidget::begin_drag(const command::DragStart& start)
{
    // A press on a selected entry drags the whole selection; on another entry just that one.
    DragState drag;
    auto index = index_of(start.path);
    if (index && m_selection.is_selected(*index)) {
        for (size_t i : m_selection.selected())
            drag.paths.push_back(m_entries[i].path);
    } else {
        drag.paths.push_back(start.path);
    }
    drag.armed = true;
    drag.pointer = start.position;
    m_drag = std::move(drag);
    mark_dirty();
}

std::string FileExplorerWidget::drag_label() const
{
    if (!m_drag || m_drag->paths.empty())
        return {};
    if (m_drag->paths.size() == 1)
        return kavo_services::lossy_utf8(m_drag->paths.front().filename());
    return i18n::t_args("files-drag-items", {i18n::count_arg("count", m_drag->paths.size())});
}

void FileExplorerWidget::update_drop_feedback(Point p)
{
    std::optional<size_t> target;
    if (m_scroll.viewport().contains(p))
        if (auto folder = m_file_view.folder_at(p)) {
            // The dragged folders themselves are no targets.
            bool dragged = std::find(m_drag->paths.begin(), m_drag->paths.end(), m_entries[*folder].path) != m_drag->paths.end();
            if (!dragged)
                target = folder;
        }
    auto spot = m_sidebar.sidebar_bounds_contain(p, m_shell) ? m_sidebar.drop_spot(p) : views::PlacesSidebar::DropSpot{};
    bool can_pin = spot.pin && m_drag->paths.size() == 1 && std::filesystem::is_directory(m_drag->paths.front());
    m_sidebar.set_drop_feedback(spot.row, can_pin);
    // The file view takes the highlighted target with its next layout.
    if (target != m_file_view_drop_target) {
        m_file_view_drop_target = target;
        mark_dirty();
    }
    m_paint_dirty = true;
}

void FileExplorerWidget::end_drag()
{
    m_drag.reset();
    m_file_view_drop_target.reset();
    m_sidebar.set_drop_feedback(std::nullopt, false);
    mark_dirty();
}

EventResult FileExplorerWidget::handle_drag(const PointerEvent& e)
{
    m_drag->pointer = e.position;
    switch (e.action) {
    case PointerAction::Move: update_drop_feedback(e.position); return EventResult::Handled;
    case PointerAction::Leave: {
        // Out of the window: the desktop carries the items on.
        auto paths = m_drag->paths;
        std::string label = drag_label();
        end_drag();
        if (dnd::start_file_drag(paths, label) == dnd::DragResult::TakenByDesktop)
            spdlog::debug("carrying the drag out of this app as a client drag");
        return EventResult::Handled;
    }
    case PointerAction::Up: {
        if (m_file_view_drop_target && *m_file_view_drop_target < m_entries.size()) {
            drop_onto(m_entries[*m_file_view_drop_target].path);
        } else if (m_sidebar.sidebar_bounds_contain(e.position, m_shell)) {
            auto spot = m_sidebar.drop_spot(e.position);
            if (spot.row)
                drop_onto(m_sidebar.row_place(*spot.row).path);
            else if (spot.pin && m_drag->paths.size() == 1)
                (void)add_favourite(m_drag->paths.front());
        }
        end_drag();
        return EventResult::Handled;
    }
    case PointerAction::Down: end_drag(); return EventResult::Ignored;
    }
    return EventResult::Handled;
}

void FileExplorerWidget::drop_onto(const std::filesystem::path& target)
{
    auto trash = trash_folder();
    if (trash && target == *trash) {
        // Dropping on the Trash puts the items there, like the Delete key.
        std::vector<size_t> indices;
        for (const auto& p : m_drag->paths)
            if (auto i = index_of(p))
                indices.push_back(*i);
        if (auto r = execute(cmd::EntryAction{cmd::EntryOp::Trash, indices}); !r)
            set_status(r.error());
        return;
    }
    size_t moved = 0, failed = 0;
    for (const auto& item : fileops::items_to_move(m_drag->paths, target)) {
        if (fileops::transfer_item(item, target, fileops::TransferMode::Move))
            ++moved;
        else
            ++failed;
    }
    if (moved > 0)
        reload();
    std::string destination = kavo_services::lossy_utf8(target.filename());
    if (destination.empty())
        destination = kavo_services::lossy_utf8(target);
    if (moved == 0 && failed == 0)
        set_status(i18n::t("files-nothing-to-move"));
    else if (failed == 0)
        set_status(i18n::t_args("files-moved-to-folder", {i18n::count_arg("count", moved), i18n::arg("destination", destination)}));
    else
        set_status(i18n::t_args("files-moved-with-failures", {i18n::count_arg("moved", moved),
                                                              i18n::arg("destination", destination),
                                                              i18n::count_arg("failed", failed)}));
}

void FileExplorerWidget::draw_drag(Painter& p, const Theme& theme)
{
    if (!m_drag || !m_drag->armed)
        return;
    std::string label = drag_label();
    TextStyle style = theme.scaled(theme.body_strong);
    float w = text_width(label, style) + theme.px(24);
    Rect r = Rect::from_xywh(m_drag->pointer.x + theme.px(14), m_drag->pointer.y + theme.px(10), w, theme.px(28));
    p.fill_rounded_rect(r.translated(0, theme.px(2)), r.height() / 2, theme.shadow);
    p.fill_rounded_rect(r, r.height() / 2, theme.accent);
    p.draw_text(r.inset(theme.px(12), 0), label, style, theme.accent_text, {HAlign::Center, VAlign::Middle, Elide::End});
}

}
