#include "views/places_sidebar/places_sidebar.hpp"

#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"

#include "kavo_ui/icons.hpp"

#include <cmath>

namespace files::views {

using namespace kavo_ui;

namespace {
constexpr float k_top = 12;
constexpr float k_header = 26;
constexpr float k_row = 34;
constexpr float k_section_gap = 12;
}

Icon icon_for_place(PlaceKind kind)
{
    switch (kind) {
    case PlaceKind::Home: return Icon::Home;
    case PlaceKind::Documents: return Icon::Documents;
    case PlaceKind::Downloads: return Icon::Downloads;
    case PlaceKind::Pictures: return Icon::Pictures;
    case PlaceKind::Music: return Icon::Music;
    case PlaceKind::Videos: return Icon::Videos;
    case PlaceKind::Root: return Icon::Root;
    case PlaceKind::Trash: return Icon::Trash;
    case PlaceKind::Folder: break;
    }
    return Icon::Folder;
}

PlacesSidebar::PlacesSidebar(std::shared_ptr<const Favorites> favorites, std::vector<Place> system_places,
                             command::RequestQueueHandle requests)
    : m_favorites(std::move(favorites)), m_system(std::move(system_places)), m_requests(std::move(requests))
{
    m_id = "places_sidebar";
}

size_t PlacesSidebar::row_count() const { return favourite_count() + m_system.size(); }

const Place& PlacesSidebar::row_place(size_t row) const
{
    return row < favourite_count() ? m_favorites->places()[row] : m_system[row - favourite_count()];
}

Rect PlacesSidebar::header_rect(bool system) const
{
    float s = scale();
    float top = m_bounds.top + k_top * s;
    if (system && favourite_count() > 0)
        top += k_header * s + k_row * s * float(favourite_count()) + k_section_gap * s;
    return {m_bounds.left, top, m_bounds.right, top + k_header * s};
}

Rect PlacesSidebar::row_rect(size_t row) const
{
    float s = scale();
    bool system = row >= favourite_count();
    size_t in_section = system ? row - favourite_count() : row;
    float top = header_rect(system).bottom + k_row * s * float(in_section);
    return {m_bounds.left, top, m_bounds.right, top + k_row * s};
}

std::optional<size_t> PlacesSidebar::row_at(Point p) const
{
    if (!m_bounds.contains(p))
        return std::nullopt;
    for (bool system : {false, true}) {
        if (!system && favourite_count() == 0)
            continue;
        Rect header = header_rect(system);
        size_t count = system ? m_system.size() : favourite_count();
        float y = p.y - header.bottom;
        if (y < 0)
            continue;
        auto index = size_t(std::floor(y / (k_row * scale())));
        if (index < count)
            return system ? favourite_count() + index : index;
    }
    return std::nullopt;
}

std::optional<size_t> PlacesSidebar::selected_row() const
{
    for (size_t i = 0; i < row_count(); ++i)
        if (row_place(i).path == m_current)
            return i;
    return std::nullopt;
}

size_t PlacesSidebar::drop_target(Point p) const
{
    // The slot under the dragged row's middle, clamped to the favourites.
    float middle = p.y - m_drag->grab_offset + k_row * scale() / 2;
    float y = middle - header_rect(false).bottom;
    long index = long(std::floor(y / (k_row * scale())));
    return size_t(std::clamp<long>(index, 0, long(favourite_count()) - 1));
}

void PlacesSidebar::set_drop_feedback(std::optional<size_t> row, bool pin)
{
    if (row == m_drop_row && pin == m_drop_pin)
        return;
    m_drop_row = row;
    m_drop_pin = pin;
    m_paint_dirty = true;
}

PlacesSidebar::DropSpot PlacesSidebar::drop_spot(Point p) const
{
    if (!m_bounds.contains(p))
        return {};
    if (auto row = row_at(p))
        return {row, false};
    return {std::nullopt, true};
}

void PlacesSidebar::show_reorder(size_t from, size_t to)
{
    if (from >= favourite_count() || to >= favourite_count())
        return;
    Rect pressed = row_rect(from);
    Drag drag{from, pressed.center(), pressed.height() / 2, {pressed.center().x + 14, row_rect(to).center().y}, to, true};
    m_drag = drag;
}

void PlacesSidebar::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    m_scale = theme.ui_scale;
    if (m_focus_row && *m_focus_row >= row_count())
        m_focus_row.reset();
}

void PlacesSidebar::draw_row(Painter& p, const Theme& theme, size_t row, const Rect& r, bool lifted)
{
    const Place& place = row_place(row);
    Rect background = r.inset(theme.px(8), theme.px(2));
    bool selected = selected_row() == row;
    if (lifted) {
        p.fill_rounded_rect(background.translated(0, theme.px(2)), theme.px(7), theme.shadow);
        p.fill_rounded_rect(background, theme.px(7), theme.panel);
        p.stroke_rounded_rect(background, theme.px(7), theme.accent, 1);
    } else if (selected) {
        p.fill_rounded_rect(background, theme.px(7), theme.selection);
    } else if (m_hovered == row) {
        p.fill_rounded_rect(background, theme.px(7), theme.hover);
    }
    if (m_focused && m_focus_row == row)
        p.stroke_rounded_rect(background, theme.px(7), theme.focus_ring, 1);
    if (m_drop_row == row && !lifted) {
        p.fill_rounded_rect(background, theme.px(7), theme.accent.with_alpha(0.25f));
        p.stroke_rounded_rect(background, theme.px(7), theme.accent, 2);
    }
    float icon = theme.px(18);
    draw_icon(p, icon_for_place(place.kind), Rect::from_xywh(background.left + theme.px(8), r.center().y - icon / 2, icon, icon),
              theme.text_muted);
    p.draw_text({background.left + theme.px(34), r.top, background.right - theme.px(6), r.bottom}, place.label,
                theme.scaled(theme.body), theme.text, {HAlign::Left, VAlign::Middle, Elide::Middle});
}

void PlacesSidebar::draw(Painter& p, const Theme& theme)
{
    TextStyle header_style = theme.scaled(theme.small);
    header_style.weight = FontWeight::Semibold;
    auto header = [&](bool system, const char* key) {
        Rect r = header_rect(system);
        p.draw_text(r.inset(theme.px(16), 0), i18n::t(key), header_style, theme.text_muted, {HAlign::Left, VAlign::Middle, Elide::End});
    };
    if (favourite_count() > 0)
        header(false, "files-place-favourites");
    header(true, "files-place-system");
    for (size_t i = 0; i < row_count(); ++i) {
        if (m_drag && m_drag->dragging && i == m_drag->pressed)
            continue;  // the lifted row is drawn above everything
        draw_row(p, theme, i, row_rect(i), false);
    }
    if (m_drop_pin) {
        // Where a pinned folder would land: after the last favourite.
        Rect last = favourite_count() ? row_rect(favourite_count() - 1) : header_rect(false);
        float y = last.bottom;
        p.fill_rounded_rect({last.left + theme.px(12), y - 1, last.right - theme.px(12), y + 1}, 1, theme.accent);
        p.stroke_rounded_rect(m_bounds.inset(theme.px(3)), theme.px(8), theme.accent.with_alpha(0.6f), 1.5f);
    }
    if (m_drag && m_drag->dragging) {
        Rect target = row_rect(m_drag->target);
        float y = m_drag->target > m_drag->pressed ? target.bottom : target.top;
        p.fill_rounded_rect({target.left + theme.px(12), y - 1, target.right - theme.px(12), y + 1}, 1, theme.accent);
    }
}

void PlacesSidebar::draw_overlay(Painter& p, const Theme& theme)
{
    if (!m_drag || !m_drag->dragging)
        return;
    Rect pressed = row_rect(m_drag->pressed);
    float top = m_drag->pointer.y - m_drag->grab_offset;
    draw_row(p, theme, m_drag->pressed, Rect{pressed.left + 6, top, pressed.right + 6, top + pressed.height()}, true);
}

EventResult PlacesSidebar::handle_event(const Event& e)
{
    if (auto* pointer = std::get_if<PointerEvent>(&e))
        return handle_pointer(*pointer);
    if (auto* key = std::get_if<KeyEvent>(&e); key && m_focused)
        return handle_key(*key);
    return EventResult::Ignored;
}

EventResult PlacesSidebar::handle_pointer(const PointerEvent& e)
{
    auto row = e.action == PointerAction::Leave ? std::nullopt : row_at(e.position);
    if (e.action == PointerAction::Move || e.action == PointerAction::Leave) {
        if (row != m_hovered) {
            m_hovered = row;
            m_paint_dirty = true;
        }
        if (m_drag && e.action == PointerAction::Move) {
            m_drag->pointer = e.position;
            if (!m_drag->dragging && std::hypot(e.position.x - m_drag->press.x, e.position.y - m_drag->press.y) > k_reorder_threshold)
                m_drag->dragging = true;
            if (m_drag->dragging) {
                m_drag->target = drop_target(e.position);
                m_paint_dirty = true;
            }
            return EventResult::Handled;
        }
        return m_bounds.contains(e.position) ? EventResult::Handled : EventResult::Ignored;
    }
    if (e.action == PointerAction::Up) {
        if (!m_drag)
            return EventResult::Ignored;
        Drag drag = *m_drag;
        m_drag.reset();
        m_paint_dirty = true;
        if (drag.dragging) {
            if (drag.target != drag.pressed)
                m_requests->push(command::ReorderFavourites{drag.pressed, drag.target});
        } else if (drag.pressed < favourite_count()) {
            m_requests->push(command::OpenPlace{m_favorites->places()[drag.pressed].path});
        }
        return EventResult::Handled;
    }
    // A press.
    if (!row)
        return m_bounds.contains(e.position) ? EventResult::Handled : EventResult::Ignored;
    m_focused = true;
    m_focus_row = row;
    m_paint_dirty = true;
    if (e.button == PointerButton::Primary) {
        if (row_is_favourite(*row)) {
            Rect r = row_rect(*row);
            m_drag = Drag{*row, e.position, e.position.y - r.top, e.position, *row, false};
        } else {
            m_requests->push(command::OpenPlace{row_place(*row).path});
        }
    } else if (e.button == PointerButton::Secondary && row_is_favourite(*row)) {
        m_requests->push(command::FavouriteContextMenu{row_place(*row).path, e.position});
    }
    return EventResult::Handled;
}

EventResult PlacesSidebar::handle_key(const KeyEvent& e)
{
    if (row_count() == 0)
        return EventResult::Ignored;
    size_t last = row_count() - 1;
    switch (e.key) {
    case Key::Down: m_focus_row = m_focus_row ? std::min(*m_focus_row + 1, last) : 0; break;
    case Key::Up: m_focus_row = m_focus_row && *m_focus_row > 0 ? *m_focus_row - 1 : 0; break;
    case Key::Enter:
        if (!m_focus_row)
            return EventResult::Ignored;
        m_requests->push(command::OpenPlace{row_place(*m_focus_row).path});
        break;
    case Key::Menu:
        if (!m_focus_row || !row_is_favourite(*m_focus_row))
            return EventResult::Ignored;
        m_requests->push(command::FavouriteContextMenu{row_place(*m_focus_row).path, row_rect(*m_focus_row).center()});
        break;
    default: return EventResult::Ignored;
    }
    m_paint_dirty = true;
    return EventResult::Handled;
}

void PlacesSidebar::accessibility(std::vector<AccessNode>& out) const
{
    AccessNode list;
    list.role = AccessRole::List;
    list.name = i18n::t("files-a11y-places");
    list.bounds = m_bounds;
    if (m_focused)
        list.states |= k_state_focused;
    if (m_focus_row)
        list.value = row_place(*m_focus_row).label;
    auto selected = selected_row();
    for (size_t i = 0; i < row_count(); ++i) {
        const Place& place = row_place(i);
        AccessNode row;
        row.role = AccessRole::ListItem;
        row.name = place.label;
        row.description = i18n::t_args(
            "files-a11y-place-description",
            {i18n::arg("section", i18n::t(row_is_favourite(i) ? "files-a11y-favourite" : "files-a11y-system-location")),
             i18n::arg("path", kavo_services::lossy_utf8(place.path))});
        row.bounds = row_rect(i);
        row.position = std::pair{i + 1, row_count()};
        if (selected == i)
            row.states |= k_state_selected;
        if (m_focused && m_focus_row == i)
            row.states |= k_state_focused;
        row.actions = {"open"};
        list.children.push_back(std::move(row));
    }
    out.push_back(std::move(list));
}

}
