#include "kavo_ui/context_menu.hpp"

#include <algorithm>

namespace kavo_ui {

namespace {
constexpr float k_margin = 4;      // from the window edges
constexpr float k_padding = 5;     // inside the menu
constexpr float k_text_left = 30;  // room for the check mark
constexpr float k_text_right = 28; // room for the submenu arrow
}

float ContextMenu::item_height(const Item& item) const
{
    return m_theme.px(item.separator ? k_separator_height : k_item_height);
}

Rect ContextMenu::place(const std::vector<Item>& items, Point at, const Rect& window, const Theme& theme) const
{
    TextStyle style = theme.scaled(theme.body);
    float width = theme.px(k_min_width);
    float height = theme.px(2 * k_padding);
    for (const auto& item : items) {
        height += item.separator ? theme.px(k_separator_height) : theme.px(k_item_height);
        if (!item.separator)
            width = std::max(width, text_width(item.label, style) + theme.px(k_text_left + k_text_right));
    }
    width = std::min(width, std::max(0.0f, window.width() - 2 * theme.px(k_margin)));
    float x = std::clamp(at.x, window.left + theme.px(k_margin), std::max(window.left + theme.px(k_margin), window.right - width - theme.px(k_margin)));
    float y = at.y;
    if (y + height > window.bottom - theme.px(k_margin))
        y = window.bottom - theme.px(k_margin) - height;
    y = std::max(y, window.top + theme.px(k_margin));
    return Rect::from_xywh(x, y, width, std::min(height, window.height() - 2 * theme.px(k_margin)));
}

void ContextMenu::push(Item item)
{
    m_items.push_back(std::move(item));
    m_paint_dirty = true;
}

void ContextMenu::clear()
{
    m_items.clear();
    m_levels.clear();
    m_paint_dirty = true;
}

void ContextMenu::close()
{
    m_levels.clear();
    m_paint_dirty = true;
}

void ContextMenu::open_at(Point at, const Rect& window)
{
    m_at = at;
    m_window = window;
    m_levels = {Level{&m_items, place(m_items, at, window, m_theme), std::nullopt}};
    m_chosen.reset();
    m_paint_dirty = true;
}

void ContextMenu::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    m_theme = theme;
    if (!is_open())
        return;
    // Keep every open level inside the (possibly resized) window.
    m_window = bounds;
    m_levels.front().rect = place(m_items, m_at, bounds, theme);
    for (size_t i = 1; i < m_levels.size(); ++i) {
        const Level& parent = m_levels[i - 1];
        Point at{parent.rect.right - theme.px(4), item_top(parent, *parent.highlight) - theme.px(k_padding)};
        m_levels[i].rect = place(*m_levels[i].items, at, bounds, theme);
    }
}

float ContextMenu::item_top(const Level& level, size_t index) const
{
    float y = level.rect.top + m_theme.px(k_padding);
    for (size_t i = 0; i < index && i < level.items->size(); ++i)
        y += item_height((*level.items)[i]);
    return y;
}

std::optional<std::pair<size_t, size_t>> ContextMenu::hit(Point p) const
{
    for (size_t l = m_levels.size(); l-- > 0;) {
        const Level& level = m_levels[l];
        if (!level.rect.contains(p))
            continue;
        float y = level.rect.top + m_theme.px(k_padding);
        for (size_t i = 0; i < level.items->size(); ++i) {
            float h = item_height((*level.items)[i]);
            if (p.y >= y && p.y < y + h)
                return std::pair{l, i};
            y += h;
        }
        return std::pair{l, level.items->size()};  // inside the menu, on its padding
    }
    return std::nullopt;
}

std::optional<size_t> ContextMenu::item_at(Point p) const
{
    auto h = hit(p);
    if (!h || h->first != 0 || h->second >= m_items.size())
        return std::nullopt;
    return h->second;
}

std::vector<Rect> ContextMenu::level_rects() const
{
    std::vector<Rect> out;
    for (const auto& l : m_levels)
        out.push_back(l.rect);
    return out;
}

std::optional<size_t> ContextMenu::highlighted(size_t level) const
{
    return level < m_levels.size() ? m_levels[level].highlight : std::nullopt;
}

void ContextMenu::open_submenu(size_t level, size_t index)
{
    m_levels.resize(level + 1);
    m_levels[level].highlight = index;
    const Item& item = (*m_levels[level].items)[index];
    const Level& parent = m_levels[level];
    Point at{parent.rect.right - m_theme.px(4), item_top(parent, index) - m_theme.px(k_padding)};
    Rect r = place(item.submenu, at, m_window, m_theme);
    // Open to the left when the right side has no room.
    if (r.left < parent.rect.right - m_theme.px(8))
        r = r.translated(parent.rect.left - r.width() + m_theme.px(4) - r.left, 0);
    m_levels.push_back(Level{&item.submenu, r, std::nullopt});
    m_paint_dirty = true;
}

void ContextMenu::activate(size_t level, size_t index)
{
    const Item& item = (*m_levels[level].items)[index];
    if (!selectable(item))
        return;
    if (!item.submenu.empty()) {
        open_submenu(level, index);
        for (size_t i = 0; i < item.submenu.size(); ++i)
            if (selectable(item.submenu[i])) {
                m_levels.back().highlight = i;
                break;
            }
        return;
    }
    Chosen chosen{item.command, {}};
    for (size_t l = 0; l < level; ++l)
        chosen.path.push_back(*m_levels[l].highlight);
    chosen.path.push_back(index);
    m_chosen = std::move(chosen);
    close();  // last: the chosen command runs after the menu is gone
}

void ContextMenu::step(int direction)
{
    Level& level = m_levels.back();
    const auto& items = *level.items;
    if (items.empty())
        return;
    size_t n = items.size();
    size_t start = level.highlight.value_or(direction > 0 ? n - 1 : 0);
    for (size_t k = 1; k <= n; ++k) {
        size_t i = direction > 0 ? (start + k) % n : (start + n - k % n) % n;
        if (selectable(items[i])) {
            level.highlight = i;
            m_paint_dirty = true;
            return;
        }
    }
}

EventResult ContextMenu::handle_event(const Event& e)
{
    if (!is_open())
        return EventResult::Ignored;
    if (auto* pointer = std::get_if<PointerEvent>(&e)) {
        auto h = hit(pointer->position);
        switch (pointer->action) {
        case PointerAction::Move:
            if (h && h->second < m_levels[h->first].items->size()) {
                auto [l, i] = *h;
                const Item& item = (*m_levels[l].items)[i];
                if (m_levels[l].highlight != i || m_levels.size() > l + 1) {
                    m_levels.resize(l + 1);
                    m_levels[l].highlight = selectable(item) ? std::optional(i) : std::nullopt;
                    if (selectable(item) && !item.submenu.empty())
                        open_submenu(l, i);
                    m_paint_dirty = true;
                }
            }
            return EventResult::Handled;
        case PointerAction::Down:
            if (!h) {
                close();  // a press outside closes the menu and is not passed on
                return EventResult::Handled;
            }
            if (h->second < m_levels[h->first].items->size())
                activate(h->first, h->second);
            return EventResult::Handled;
        case PointerAction::Up:
        case PointerAction::Leave: return EventResult::Handled;
        }
    }
    if (auto* key = std::get_if<KeyEvent>(&e)) {
        Level& level = m_levels.back();
        switch (key->key) {
        case Key::Down: step(+1); break;
        case Key::Up: step(-1); break;
        case Key::Right:
            if (level.highlight && !(*level.items)[*level.highlight].submenu.empty())
                activate(m_levels.size() - 1, *level.highlight);
            break;
        case Key::Left:
            if (m_levels.size() > 1)
                m_levels.pop_back();
            break;
        case Key::Enter:
            if (level.highlight)
                activate(m_levels.size() - 1, *level.highlight);
            break;
        case Key::Escape:
            m_levels.pop_back();
            break;
        default: break;
        }
        m_paint_dirty = true;
        return EventResult::Handled;  // an open menu takes every key
    }
    if (std::holds_alternative<WheelEvent>(e) || std::holds_alternative<TextEvent>(e))
        return EventResult::Handled;
    return EventResult::Ignored;
}

void ContextMenu::draw_overlay(Painter& p, const Theme& theme)
{
    TextStyle style = theme.scaled(theme.body);
    for (const auto& level : m_levels) {
        p.fill_rounded_rect(level.rect.translated(0, theme.px(3)), theme.px(9), theme.shadow);
        p.fill_rounded_rect(level.rect, theme.px(9), theme.panel);
        p.stroke_rounded_rect(level.rect, theme.px(9), theme.border, 1);
        float y = level.rect.top + theme.px(k_padding);
        for (size_t i = 0; i < level.items->size(); ++i) {
            const Item& item = (*level.items)[i];
            float h = item_height(item);
            Rect row{level.rect.left + theme.px(k_padding), y, level.rect.right - theme.px(k_padding), y + h};
            y += h;
            if (item.separator) {
                float cy = row.center().y;
                p.draw_line({row.left + theme.px(6), cy}, {row.right - theme.px(6), cy}, theme.border, 1);
                continue;
            }
            if (level.highlight == i)
                p.fill_rounded_rect(row, theme.px(6), theme.accent.with_alpha(0.85f));
            Color ink = !item.enabled ? theme.text_disabled : level.highlight == i ? theme.accent_text : theme.text;
            if (item.checkable && item.checked) {
                Path check;
                float cx = row.left + theme.px(14), cy = row.center().y;
                check.move_to({cx - theme.px(5), cy}).line_to({cx - theme.px(1.5f), cy + theme.px(4)}).line_to({cx + theme.px(5), cy - theme.px(4)});
                p.stroke_path(check, ink, theme.px(1.8f));
            }
            p.draw_text({row.left + theme.px(k_text_left - k_padding), row.top, row.right - theme.px(k_text_right - k_padding), row.bottom},
                        item.label, style, ink, {HAlign::Left, VAlign::Middle, Elide::End});
            if (!item.submenu.empty()) {
                Path arrow;
                float ax = row.right - theme.px(12), cy = row.center().y;
                arrow.move_to({ax - theme.px(3), cy - theme.px(4)}).line_to({ax + theme.px(1), cy}).line_to({ax - theme.px(3), cy + theme.px(4)});
                p.stroke_path(arrow, ink, theme.px(1.6f));
            }
        }
    }
}

void ContextMenu::accessibility(std::vector<AccessNode>& out) const
{
    for (size_t l = 0; l < m_levels.size(); ++l) {
        const Level& level = m_levels[l];
        AccessNode menu;
        menu.role = AccessRole::Menu;
        menu.bounds = level.rect;
        size_t count = 0;
        for (const auto& item : *level.items)
            count += item.separator ? 0 : 1;
        size_t position = 0;
        for (size_t i = 0; i < level.items->size(); ++i) {
            const Item& item = (*level.items)[i];
            if (item.separator)
                continue;
            AccessNode node;
            node.role = AccessRole::MenuItem;
            node.name = item.label;
            node.bounds = {level.rect.left, item_top(level, i), level.rect.right, item_top(level, i) + item_height(item)};
            node.position = std::pair{++position, count};
            if (!item.enabled)
                node.states |= k_state_disabled;
            if (item.checkable && item.checked)
                node.states |= k_state_checked;
            if (level.highlight == i)
                node.states |= k_state_focused;
            if (l + 1 < m_levels.size() && level.highlight == i)
                node.states |= k_state_expanded;
            node.actions = {"press"};
            menu.children.push_back(std::move(node));
        }
        out.push_back(std::move(menu));
    }
}

}
