#include "views/file_view/file_view.hpp"

#include "i18n/catalog.hpp"
#include "model/column_texts.hpp"

#include "kavo_ui/icons.hpp"

#include <algorithm>
#include <cmath>

namespace files::views {

using namespace kavo_ui;

FileView::FileView(command::RequestQueueHandle requests) : m_requests(std::move(requests)) { m_id = "file_view"; }

void FileView::set_model(Model model)
{
    model.zoom = std::clamp(model.zoom, 0.5f, 3.0f);
    m_model = std::move(model);
    if (m_hovered && *m_hovered >= count())
        m_hovered.reset();
    m_geometry = geometry_for(m_bounds);
}

FileViewGeometry FileView::geometry_for(const Rect& bounds) const
{
    return {m_model.view_mode, m_model.zoom, m_text_scale, m_ui_scale, bounds, count()};
}

TextStyle FileView::list_font(const Theme& theme) const
{
    TextStyle style = theme.body;
    style.size *= m_model.zoom * m_text_scale * m_ui_scale;
    return style;
}

Size FileView::measure(float available_width, const Theme& theme)
{
    m_text_scale = std::clamp(theme.text_scale, 0.5f, 4.0f);
    m_ui_scale = theme.ui_scale;
    auto g = geometry_for(Rect{0, 0, available_width, 0});
    return {g.preferred_width(), g.content_height()};
}

void FileView::layout(const Rect& bounds, const Theme& theme)
{
    m_ui_scale = theme.ui_scale;
    m_bounds = bounds;
    m_geometry = geometry_for(bounds);
}

std::optional<size_t> FileView::folder_at(Point p) const
{
    auto index = m_geometry.hit(p, m_model.viewport);
    if (!index || !entry(*index).is_folder)
        return std::nullopt;
    return index;
}

Rect FileView::rename_field_rect(size_t index, const Theme& theme) const
{
    if (m_model.view_mode == model::ViewMode::Grid) {
        Rect cell = m_geometry.item_rect(index);
        float label = line_height(list_font(theme)) + theme.px(8);
        return {cell.left - theme.px(6), cell.bottom - label - theme.px(2), cell.right + theme.px(6), cell.bottom + theme.px(4)};
    }
    Rect row = m_geometry.item_rect(index);
    auto [name_left, name_right] = m_geometry.name_column();
    float icon = 18 * m_model.zoom * m_ui_scale;
    float text_start = name_left + 4 * m_ui_scale + icon + 12 * m_ui_scale;
    float field_margin = theme.px(6);  // the text field's own inner margin
    return {text_start - field_margin, row.top + 2 * m_ui_scale, name_right - 4 * m_ui_scale, row.bottom - 2 * m_ui_scale};
}

void FileView::draw(Painter& p, const Theme& theme)
{
    if (!m_model.entries)
        return;
    Rect visible = p.clip_bounds().intersected(m_bounds);
    if (m_model.viewport)
        visible = visible.intersected(*m_model.viewport);
    if (m_model.view_mode == model::ViewMode::List) {
        draw_list(p, theme, visible);
        draw_header(p, theme);
    } else {
        draw_grid(p, theme, visible);
    }
}

void FileView::draw_item_icon(Painter& p, const Theme& theme, const model::DirectoryEntry& e, const Rect& square)
{
    if (!e.is_folder && m_model.thumbnails) {
        if (auto thumb = m_model.thumbnails(e)) {
            p.draw_image_cover(square, *thumb, square.width() * 0.08f);
            return;
        }
    }
    draw_icon(p, icon_for_path(e.path, e.is_folder, e.mime_type), square, theme.text_muted);
}

void FileView::draw_list(Painter& p, const Theme& theme, const Rect& visible)
{
    const auto& g = m_geometry;
    auto [first, last] = g.visible_range(visible);
    TextStyle font = list_font(theme);
    TextStyle small = font;
    small.size = font.size * 0.92f;
    float text_h = line_height(font);
    auto [name_left, name_right] = g.name_column();
    auto size_col = g.size_column();
    auto modified_col = g.modified_column();
    float s = m_ui_scale;
    float icon = 18 * m_model.zoom * s;
    auto focused = m_model.selection ? m_model.selection->focused() : std::nullopt;

    for (size_t i = first; i < last; ++i) {
        const auto& e = entry(i);
        Rect row = g.item_rect(i);
        Rect background{row.left + 8 * s, row.top + 2 * s, row.right - 8 * s, row.bottom - 2 * s};
        if (selected(i))
            p.fill_rounded_rect(background, theme.px(6), theme.selection);
        else if (m_hovered == i)
            p.fill_rounded_rect(background, theme.px(6), theme.hover);
        if (m_model.focused && focused == i)
            p.stroke_rounded_rect(background, theme.px(6), theme.focus_ring.with_alpha(0.7f), 1);
        if (m_model.drop_target == i) {
            p.fill_rounded_rect(background, theme.px(6), theme.accent.with_alpha(0.25f));
            p.stroke_rounded_rect(background, theme.px(6), theme.accent, 2);
        }

        Rect square = Rect::from_xywh(name_left + 4 * s, row.center().y - icon / 2, icon, icon);
        draw_item_icon(p, theme, e, square);
        float text_left = square.right + 12 * s;
        Rect text_rect{text_left, row.center().y - text_h / 2, name_right, row.center().y + text_h / 2};
        if (m_model.renaming != i)
            p.draw_text(text_rect, e.name, font, theme.text, {HAlign::Left, VAlign::Middle, Elide::Middle});
        if (size_col)
            p.draw_text({size_col->first, text_rect.top, size_col->second, text_rect.bottom}, model::size_text(e), small,
                        theme.text_muted, {HAlign::Right, VAlign::Middle, Elide::End});
        if (modified_col)
            p.draw_text({modified_col->first, text_rect.top, modified_col->second, text_rect.bottom}, model::modified_text(e),
                        small, theme.text_muted, {HAlign::Right, VAlign::Middle, Elide::End});
    }
}

void FileView::draw_header(Painter& p, const Theme& theme)
{
    const auto& g = m_geometry;
    Rect header = g.header_rect(m_model.viewport);
    p.fill_rect(header, theme.surface);
    p.draw_line({header.left, header.bottom - 0.5f}, {header.right, header.bottom - 0.5f}, theme.border, 1);
    TextStyle style = theme.small;
    style.size *= m_model.zoom * m_text_scale * m_ui_scale;
    style.weight = FontWeight::Semibold;
    auto title = [&](const char* key, model::SortBy column) {
        std::string text = i18n::t(key);
        if (m_model.sort_by == column)
            text += m_model.sort_order == model::SortOrder::Ascending ? " ▴" : " ▾";
        return text;
    };
    auto [name_left, name_right] = g.name_column();
    p.draw_text({name_left + 4 * m_ui_scale, header.top, name_right, header.bottom}, title("files-column-name", model::SortBy::Name),
                style, theme.text_muted, {HAlign::Left, VAlign::Middle, Elide::End});
    if (auto c = g.size_column())
        p.draw_text({c->first, header.top, c->second, header.bottom}, title("files-column-size", model::SortBy::Size), style,
                    theme.text_muted, {HAlign::Right, VAlign::Middle, Elide::End});
    if (auto c = g.modified_column())
        p.draw_text({c->first, header.top, c->second, header.bottom}, title("files-column-modified", model::SortBy::Modified),
                    style, theme.text_muted, {HAlign::Right, VAlign::Middle, Elide::End});
}

void FileView::draw_grid(Painter& p, const Theme& theme, const Rect& visible)
{
    const auto& g = m_geometry;
    auto [first, last] = g.visible_range(visible);
    float z = m_model.zoom, s = m_ui_scale;
    TextStyle font = list_font(theme);
    float label_h = line_height(font);
    float side = g.cell_height() - 12 * z * s - label_h - 14 * z * s;
    side = std::min(std::max(side, 44.0f * s), 1.3f * 46 * z * s);
    auto focused = m_model.selection ? m_model.selection->focused() : std::nullopt;

    for (size_t i = first; i < last; ++i) {
        const auto& e = entry(i);
        Rect cell = g.item_rect(i);
        if (!cell.intersects(visible))
            continue;
        if (selected(i))
            p.fill_rounded_rect(cell, theme.px(10), theme.selection);
        else if (m_hovered == i)
            p.fill_rounded_rect(cell, theme.px(10), theme.hover);
        if (m_model.focused && focused == i)
            p.stroke_rounded_rect(cell, theme.px(10), theme.focus_ring.with_alpha(0.7f), 1);
        if (m_model.drop_target == i) {
            p.fill_rounded_rect(cell, theme.px(10), theme.accent.with_alpha(0.25f));
            p.stroke_rounded_rect(cell, theme.px(10), theme.accent, 2);
        }
        float icon = e.is_folder ? std::min(side, 46 * z * s) : side;
        Rect square = Rect::from_xywh(cell.center().x - icon / 2, cell.top + 12 * z * s + (side - icon) / 2, icon, icon);
        draw_item_icon(p, theme, e, square);
        float label_top = cell.top + 12 * z * s + side + 6 * z * s;
        if (m_model.renaming != i)
            p.draw_text({cell.left + 6 * s, label_top, cell.right - 6 * s, label_top + label_h}, e.name, font, theme.text,
                    {HAlign::Center, VAlign::Middle, Elide::Middle});
    }
}

EventResult FileView::handle_event(const Event& e)
{
    if (auto* pointer = std::get_if<PointerEvent>(&e))
        return handle_pointer(*pointer);
    if (auto* key = std::get_if<KeyEvent>(&e))
        return handle_key(*key);
    return EventResult::Ignored;
}

bool FileView::press_header(Point p)
{
    if (m_model.view_mode != model::ViewMode::List || !m_geometry.header_rect(m_model.viewport).contains(p))
        return false;
    Rect header = m_geometry.header_rect(m_model.viewport);
    auto inside = [&](std::pair<float, float> span) { return p.x >= span.first && p.x < span.second && p.y >= header.top && p.y < header.bottom; };
    if (inside(m_geometry.name_column()))
        m_requests->push(command::SortByColumn{model::SortBy::Name});
    else if (auto c = m_geometry.size_column(); c && inside(*c))
        m_requests->push(command::SortByColumn{model::SortBy::Size});
    else if (auto m = m_geometry.modified_column(); m && inside(*m))
        m_requests->push(command::SortByColumn{model::SortBy::Modified});
    return true;
}

EventResult FileView::handle_pointer(const PointerEvent& e)
{
    if (e.action == PointerAction::Leave) {
        if (m_hovered) {
            m_hovered.reset();
            m_paint_dirty = true;
        }
        return EventResult::Ignored;
    }
    m_last_cursor = e.position;
    auto index = m_geometry.hit(e.position, m_model.viewport);
    switch (e.action) {
    case PointerAction::Move: {
        if (index != m_hovered) {
            m_hovered = index;
            m_paint_dirty = true;
        }
        if (m_pending && std::hypot(e.position.x - m_pending->position.x, e.position.y - m_pending->position.y) > k_drag_threshold) {
            m_requests->push(command::DragStart{m_pending->path, m_pending->is_folder, m_pending->position});
            m_pending.reset();
        }
        return m_bounds.contains(e.position) ? EventResult::Handled : EventResult::Ignored;
    }
    case PointerAction::Down:
        if (e.button == PointerButton::Primary && press_header(e.position))
            return EventResult::Handled;
        if (!index)
            return m_bounds.contains(e.position) ? EventResult::Handled : EventResult::Ignored;
        if (e.button == PointerButton::Primary) {
            m_requests->push(command::ItemClicked{*index, e.modifiers.primary, e.modifiers.shift});
            if (!e.modifiers.primary && !e.modifiers.shift) {
                const auto& item = entry(*index);
                m_pending = PendingPress{item.path, item.is_folder, e.position};
                m_requests->push(command::PressOnItem{item.path, item.is_folder, e.position});
            }
        } else if (e.button == PointerButton::Secondary) {
            m_requests->push(command::ContextMenuOnItem{*index});
        }
        return EventResult::Handled;
    case PointerAction::Up:
        m_pending.reset();
        return m_bounds.contains(e.position) ? EventResult::Handled : EventResult::Ignored;
    case PointerAction::Leave: break;
    }
    return EventResult::Ignored;
}

EventResult FileView::handle_key(const KeyEvent& e)
{
    if (m_model.view_mode != model::ViewMode::Grid || !m_model.focused || count() == 0 || e.modifiers.primary || e.modifiers.alt)
        return EventResult::Ignored;
    size_t last = count() - 1;
    size_t from = std::min(m_model.selection && m_model.selection->focused() ? *m_model.selection->focused() : 0, last);
    size_t columns = m_geometry.columns();
    size_t to;
    switch (e.key) {
    case Key::Down: to = std::min(from + columns, last); break;
    case Key::Up: to = from >= columns ? from - columns : 0; break;
    case Key::Right: to = std::min(from + 1, last); break;
    case Key::Left: to = from > 0 ? from - 1 : 0; break;
    default: return EventResult::Ignored;
    }
    m_requests->push(command::MoveSelection{to, e.modifiers.shift});
    return EventResult::Handled;
}

void FileView::accessibility(std::vector<AccessNode>& out) const
{
    AccessNode list;
    list.role = AccessRole::List;
    list.name = i18n::t("files-a11y-list");
    list.bounds = m_model.viewport ? m_bounds.intersected(*m_model.viewport) : m_bounds;
    if (m_model.focused)
        list.states |= k_state_focused;
    auto primary = m_model.selection ? m_model.selection->focused() : std::nullopt;
    if (primary && *primary < count()) {
        list.value = entry(*primary).name;
        list.position = std::pair{*primary + 1, count()};
    }
    list.children.reserve(count());
    for (size_t i = 0; i < count(); ++i) {
        const auto& e = entry(i);
        AccessNode item;
        item.role = AccessRole::ListItem;
        item.name = e.name;
        item.description = e.is_folder ? i18n::t("files-a11y-folder")
                                       : i18n::t_args("files-a11y-file", {i18n::arg("size", model::size_text(e))});
        item.bounds = m_geometry.item_rect(i);
        if (selected(i))
            item.states |= k_state_selected;
        if (primary == i)
            item.states |= k_state_focused;
        item.position = std::pair{i + 1, count()};
        item.actions = {"open"};
        list.children.push_back(std::move(item));
    }
    out.push_back(std::move(list));
}

}
