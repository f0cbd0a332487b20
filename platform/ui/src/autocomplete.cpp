#include "kavo_ui/autocomplete.hpp"

#include "kavo_ui/icons.hpp"

#include <cmath>

namespace kavo_ui {

Autocomplete::Autocomplete(std::string id, std::string placeholder) : m_input(id + ".input", std::move(placeholder))
{
    m_id = std::move(id);
}

void Autocomplete::begin_edit(std::string text)
{
    m_input.set_text(std::move(text));
    close_list();
    m_input.begin_edit();
    while (m_input.take_outcome()) {
        // Outcomes of an earlier edit mean nothing to this one.
    }
}

void Autocomplete::end_edit()
{
    close_list();
    m_input.end_edit();
}

size_t Autocomplete::visible_rows() const { return std::min(m_candidates.size(), m_max_rows); }

Rect Autocomplete::list_rect() const
{
    if (!m_open || m_candidates.empty())
        return {};
    float top = m_bounds.bottom + m_gap;
    return {m_bounds.left, top, m_bounds.right, top + float(visible_rows()) * m_row_height + 2 * m_gap};
}

Rect Autocomplete::row_rect(size_t index) const
{
    Rect list = list_rect();
    if (list.is_empty() || index < m_first_row || index >= m_first_row + visible_rows())
        return {};
    float top = list.top + m_gap + float(index - m_first_row) * m_row_height;
    return {list.left, top, list.right, top + m_row_height};
}

void Autocomplete::refresh()
{
    m_candidates = m_provider ? m_provider(m_input.text()) : std::vector<Candidate>{};
    m_highlight.reset();
    m_hover.reset();
    m_first_row = 0;
    m_open = !m_candidates.empty();
    m_paint_dirty = true;
}

void Autocomplete::close_list()
{
    if (!m_open && m_candidates.empty())
        return;
    m_open = false;
    m_candidates.clear();
    m_highlight.reset();
    m_hover.reset();
    m_first_row = 0;
    m_paint_dirty = true;
}

void Autocomplete::scroll_rows(long rows)
{
    long last_first = long(m_candidates.size()) - long(visible_rows());
    size_t first = size_t(std::clamp(long(m_first_row) + rows, 0L, std::max(0L, last_first)));
    if (first == m_first_row)
        return;
    m_first_row = first;
    m_paint_dirty = true;
}

void Autocomplete::keep_highlight_visible()
{
    if (!m_highlight)
        return;
    size_t rows = visible_rows();
    if (*m_highlight < m_first_row)
        m_first_row = *m_highlight;
    else if (*m_highlight >= m_first_row + rows)
        m_first_row = *m_highlight + 1 - rows;
}

void Autocomplete::move_highlight(int step)
{
    long n = long(m_candidates.size());
    if (!m_highlight)
        m_highlight = step > 0 ? 0 : size_t(n - 1);
    else if (*m_highlight == 0 && step < 0)
        m_highlight.reset();  // back to the typed text
    else
        m_highlight = size_t(std::clamp(long(*m_highlight) + step, 0L, n - 1));
    keep_highlight_visible();
    m_paint_dirty = true;
}

void Autocomplete::accept(size_t index)
{
    std::string value = m_candidates[index].value;
    m_input.set_text(std::move(value));
    refresh();
}

void Autocomplete::finish(Result::Kind kind)
{
    m_result = Result{kind, m_input.text()};
    close_list();
    m_input.end_edit();
}

EventResult Autocomplete::forward(const Event& e)
{
    EventResult result = m_input.handle_event(e);
    while (auto outcome = m_input.take_outcome()) {
        if (*outcome == TextInput::Outcome::Changed) {
            refresh();
        } else {
            finish(*outcome == TextInput::Outcome::Submitted ? Result::Submitted : Result::Cancelled);
            break;
        }
    }
    return result;
}

EventResult Autocomplete::handle_key(const KeyEvent& key)
{
    const Modifiers& m = key.modifiers;
    bool plain = !m.primary && !m.alt && !m.shift;
    bool highlighted = m_open && m_highlight;
    switch (key.key) {
    case Key::Down:
    case Key::Up:
    case Key::PageDown:
    case Key::PageUp:
        if (!plain)
            break;
        if (!m_open) {
            refresh();
            return EventResult::Handled;
        }
        {
            int page = int(std::max<size_t>(1, visible_rows()));
            int step = key.key == Key::Down ? 1 : key.key == Key::Up ? -1 : key.key == Key::PageDown ? page : -page;
            move_highlight(step);
        }
        return EventResult::Handled;
    case Key::Tab:
        if (!plain || !highlighted)
            return EventResult::Ignored;
        accept(*m_highlight);
        return EventResult::Handled;
    case Key::Enter:
        if (!highlighted)
            break;
        accept(*m_highlight);
        return EventResult::Handled;
    case Key::Escape:
        if (!m_open)
            break;
        close_list();
        return EventResult::Handled;
    default: break;
    }
    return forward(key);
}

EventResult Autocomplete::handle_list_pointer(const Event& e)
{
    if (auto* wheel = std::get_if<WheelEvent>(&e)) {
        scroll_rows(std::lround(-wheel->dy * 3));
        return EventResult::Handled;
    }
    const auto& pointer = std::get<PointerEvent>(e);
    std::optional<size_t> row;
    for (size_t i = m_first_row; i < m_first_row + visible_rows(); ++i)
        if (row_rect(i).contains(pointer.position))
            row = i;
    if (row != m_hover) {
        m_hover = row;
        m_paint_dirty = true;
    }
    if (pointer.action == PointerAction::Down && pointer.button == PointerButton::Primary && row)
        accept(*row);
    return EventResult::Handled;
}

EventResult Autocomplete::handle_event(const Event& e)
{
    if (!editing())
        return forward(e);
    if (auto* key = std::get_if<KeyEvent>(&e))
        return handle_key(*key);
    std::optional<Point> at;
    if (auto* pointer = std::get_if<PointerEvent>(&e); pointer && pointer->action != PointerAction::Leave)
        at = pointer->position;
    else if (auto* wheel = std::get_if<WheelEvent>(&e))
        at = wheel->position;
    if (at && list_rect().contains(*at))
        return handle_list_pointer(e);
    if (m_hover) {
        m_hover.reset();
        m_paint_dirty = true;
    }
    // A press anywhere else closes the list, as popups do; the press itself goes on.
    if (auto* pointer = std::get_if<PointerEvent>(&e);
        pointer && pointer->action == PointerAction::Down && !m_bounds.contains(pointer->position))
        close_list();
    return forward(e);
}

Size Autocomplete::measure(float available_width, const Theme& theme) { return m_input.measure(available_width, theme); }

void Autocomplete::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    m_row_height = theme.px(k_row_height);
    m_gap = theme.px(4);
    m_input.layout(bounds, theme);
}

void Autocomplete::draw(Painter& p, const Theme& theme) { m_input.draw(p, theme); }

void Autocomplete::draw_overlay(Painter& p, const Theme& theme)
{
    Rect list = list_rect();
    if (list.is_empty())
        return;
    float radius = theme.px(6);
    p.fill_rounded_rect(list.translated(0, theme.px(2)), radius, theme.shadow);
    p.fill_rounded_rect(list, radius, theme.panel);
    p.stroke_rounded_rect(list, radius, theme.border, theme.px(1));
    ClipScope clip(p, list.inset(theme.px(1)));
    TextStyle style = theme.scaled(theme.body);
    for (size_t i = m_first_row; i < m_first_row + visible_rows(); ++i) {
        Rect row = row_rect(i);
        Rect fill = row.inset(theme.px(4), 0);
        if (m_highlight == i)
            p.fill_rounded_rect(fill, theme.px(4), theme.selection);
        else if (m_hover == i)
            p.fill_rounded_rect(fill, theme.px(4), theme.hover);
        float s = theme.px(16);
        Rect icon = Rect::from_xywh(row.left + theme.px(12), row.center().y - s / 2, s, s);
        draw_icon(p, m_candidates[i].is_folder ? Icon::Folder : Icon::File, icon, theme.text);
        p.draw_text({icon.right + theme.px(8), row.top, row.right - theme.px(12), row.bottom}, m_candidates[i].label,
                    style, theme.text);
    }
    if (m_candidates.size() > visible_rows()) {
        float track = list.height() - 2 * m_gap;
        float thumb = std::max(theme.px(16), track * float(visible_rows()) / float(m_candidates.size()));
        float travel = track - thumb;
        float top = list.top + m_gap
                    + travel * float(m_first_row) / float(m_candidates.size() - visible_rows());
        p.fill_rounded_rect({list.right - theme.px(6), top, list.right - theme.px(2), top + thumb}, theme.px(2),
                            theme.scrollbar);
    }
}

void Autocomplete::accessibility(std::vector<AccessNode>& out) const
{
    AccessNode input = m_input.access_node();
    if (!m_open) {
        out.push_back(std::move(input));
        return;
    }
    input.states |= k_state_expanded;
    AccessNode list;
    list.role = AccessRole::List;
    list.name = input.name;
    list.bounds = list_rect();
    for (size_t i = 0; i < m_candidates.size(); ++i) {
        AccessNode row;
        row.role = AccessRole::ListItem;
        row.name = m_candidates[i].label;
        row.value = m_candidates[i].value;
        row.bounds = row_rect(i);
        row.position = {{i + 1, m_candidates.size()}};
        if (m_highlight == i)
            row.states |= k_state_selected;
        row.actions = {"press"};
        list.children.push_back(std::move(row));
    }
    out.push_back(std::move(input));
    out.push_back(std::move(list));
}

void Autocomplete::visit_children(const std::function<void(Widget&)>& fn) { fn(m_input); }

bool Autocomplete::take_paint_dirty()
{
    bool dirty = std::exchange(m_paint_dirty, false);
    return m_input.take_paint_dirty() || dirty;
}

}
