#include "kavo_ui/text_input.hpp"

#include "kavo_ui/desktop.hpp"
#include "text_boundaries.hpp"

namespace kavo_ui {

namespace {

using Direction = TextEdit::Direction;
using Unit = TextEdit::Unit;
using Extend = TextEdit::Extend;

}

TextInput::TextInput(std::string id, std::string placeholder) : m_placeholder(std::move(placeholder))
{
    m_id = std::move(id);
}

void TextInput::set_text(std::string text)
{
    if (text == m_edit.text() && m_edit.selection() == TextSelection{text.size(), text.size()})
        return;
    m_edit.set_text(std::move(text));
    m_preedit.clear();
    moved();
}

void TextInput::set_placeholder(std::string placeholder)
{
    if (m_placeholder == placeholder)
        return;
    m_placeholder = std::move(placeholder);
    m_paint_dirty = true;
}

void TextInput::select_all()
{
    m_edit.select_all();
    moved();
}

void TextInput::begin_edit()
{
    if (m_editing)
        return;
    m_editing = true;
    reveal_caret();
    m_paint_dirty = true;
}

void TextInput::end_edit()
{
    if (!m_editing)
        return;
    m_editing = false;
    m_dragging = false;
    m_preedit.clear();
    reveal_caret();
    m_paint_dirty = true;
}

std::optional<TextInput::Outcome> TextInput::take_outcome()
{
    if (m_outcomes.empty())
        return std::nullopt;
    Outcome first = m_outcomes.front();
    m_outcomes.pop_front();
    return first;
}

void TextInput::push(Outcome outcome)
{
    if (outcome == Outcome::Changed && !m_outcomes.empty() && m_outcomes.back() == Outcome::Changed)
        return;
    m_outcomes.push_back(outcome);
}

void TextInput::edited(bool changed)
{
    if (changed)
        push(Outcome::Changed);
    moved();
}

void TextInput::moved()
{
    reveal_caret();
    m_paint_dirty = true;
}

float TextInput::width_of(std::string_view text) const { return text.empty() ? 0 : text_width(text, m_style); }

std::string TextInput::display_text() const
{
    if (m_preedit.empty())
        return m_edit.text();
    std::string shown = m_edit.text();
    shown.insert(m_edit.caret(), m_preedit);
    return shown;
}

float TextInput::text_origin() const { return m_bounds.left + m_margin - m_scroll; }

float TextInput::caret_x() const
{
    std::string_view shown = m_edit.text();
    std::string with_preedit;
    if (!m_preedit.empty()) {
        with_preedit = display_text();
        shown = with_preedit;
    }
    return text_origin() + width_of(shown.substr(0, m_edit.caret() + m_preedit.size()));
}

void TextInput::reveal_caret()
{
    float inner = m_bounds.width() - 2 * m_margin;
    if (inner <= 0) {
        m_scroll = 0;
        return;
    }
    std::string shown = display_text();
    float caret = width_of(std::string_view(shown).substr(0, m_edit.caret() + m_preedit.size()));
    float total = width_of(shown);
    float caret_room = 2 * m_scale;
    if (caret - m_scroll > inner - caret_room)
        m_scroll = caret - inner + caret_room;
    if (caret < m_scroll)
        m_scroll = caret;
    // Text that got shorter does not leave the field scrolled past its end.
    m_scroll = std::clamp(m_scroll, 0.0f, std::max(0.0f, total + caret_room - inner));
}

size_t TextInput::nearest_boundary(float x) const
{
    const std::string& text = m_edit.text();
    auto stops = text_boundaries::graphemes(text);
    float rel = x - text_origin();
    // Prefix widths grow with the prefix, so the first stop at or right of x is found by halving.
    size_t lo = 0, hi = stops.size() - 1;
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (width_of(std::string_view(text).substr(0, stops[mid])) < rel)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == 0)
        return 0;
    float right = width_of(std::string_view(text).substr(0, stops[lo]));
    float left = width_of(std::string_view(text).substr(0, stops[lo - 1]));
    return rel - left < right - rel ? stops[lo - 1] : stops[lo];
}

size_t TextInput::grapheme_under(float x) const
{
    const std::string& text = m_edit.text();
    auto stops = text_boundaries::graphemes(text);
    float rel = x - text_origin();
    // The last grapheme start at or left of x, found by halving as above.
    size_t lo = 0, hi = stops.size() > 1 ? stops.size() - 2 : 0;
    while (lo < hi) {
        size_t mid = (lo + hi + 1) / 2;
        if (width_of(std::string_view(text).substr(0, stops[mid])) <= rel)
            lo = mid;
        else
            hi = mid - 1;
    }
    return stops[lo];
}

Size TextInput::measure(float available_width, const Theme& theme) { return {available_width, theme.px(k_height)}; }

void TextInput::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    m_style = theme.scaled(theme.body);
    m_margin = theme.px(k_inner_margin);
    m_scale = theme.ui_scale;
    reveal_caret();
}

void TextInput::draw(Painter& p, const Theme& theme)
{
    float radius = theme.px(6);
    p.fill_rounded_rect(m_bounds, radius, theme.surface);
    p.stroke_rounded_rect(m_bounds, radius, m_editing ? theme.focus_ring : theme.border,
                          m_editing ? theme.px(2) : theme.px(1));

    ClipScope clip(p, m_bounds.inset(theme.px(2)));
    float origin = text_origin();
    float line = line_height(m_style);
    float top = m_bounds.center().y - line / 2;
    const std::string& text = m_edit.text();

    auto sel = m_edit.selection();
    if (m_editing && !sel.empty() && m_preedit.empty()) {
        float x0 = origin + width_of(std::string_view(text).substr(0, sel.start()));
        float x1 = origin + width_of(std::string_view(text).substr(0, sel.end()));
        p.fill_rect({x0, top, x1, top + line}, theme.selection);
    }

    std::string shown = display_text();
    if (shown.empty()) {
        p.draw_text(m_bounds.inset(m_margin, 0), m_placeholder, m_style, theme.text_muted);
    } else {
        float w = width_of(shown);
        p.draw_text({origin, m_bounds.top, origin + w + theme.px(4), m_bounds.bottom}, shown, m_style, theme.text,
                    {HAlign::Left, VAlign::Middle, Elide::None});
    }
    if (!m_preedit.empty()) {
        float x0 = origin + width_of(std::string_view(shown).substr(0, m_edit.caret()));
        float x1 = origin + width_of(std::string_view(shown).substr(0, m_edit.caret() + m_preedit.size()));
        float y = top + line - theme.px(2);
        p.draw_line({x0, y}, {x1, y}, theme.text, theme.px(1));
    }
    if (m_editing) {
        float x = caret_x();
        p.draw_line({x, top}, {x, top + line}, theme.text, theme.px(1.5f));
    }
}

EventResult TextInput::handle_event(const Event& e)
{
    if (auto* pointer = std::get_if<PointerEvent>(&e))
        return handle_pointer(*pointer);
    if (!m_editing)
        return EventResult::Ignored;
    if (auto* key = std::get_if<KeyEvent>(&e))
        return handle_key(*key);
    if (auto* text = std::get_if<TextEvent>(&e)) {
        edited(m_edit.insert(text->text));
        return EventResult::Handled;
    }
    if (auto* ime = std::get_if<ImeEvent>(&e)) {
        handle_ime(*ime);
        return EventResult::Handled;
    }
    return EventResult::Ignored;
}

EventResult TextInput::handle_key(const KeyEvent& key)
{
    const Modifiers& m = key.modifiers;
    if (m.alt)
        return EventResult::Ignored;
    Extend extend = m.shift ? Extend::Yes : Extend::No;
    Unit by = m.primary ? Unit::Word : Unit::Grapheme;
    switch (key.key) {
    case Key::Left: m_edit.move(Direction::Backward, by, extend); break;
    case Key::Right: m_edit.move(Direction::Forward, by, extend); break;
    case Key::Home: m_edit.move(Direction::Backward, Unit::Line, extend); break;
    case Key::End: m_edit.move(Direction::Forward, Unit::Line, extend); break;
    case Key::Backspace: edited(m_edit.erase(Direction::Backward, by)); return EventResult::Handled;
    case Key::Delete: edited(m_edit.erase(Direction::Forward, by)); return EventResult::Handled;
    case Key::Enter: push(Outcome::Submitted); return EventResult::Handled;
    case Key::Escape: push(Outcome::Cancelled); return EventResult::Handled;
    case Key::Character:
        // Plain characters come back as TextEvent; only the editing shortcuts are taken here.
        if (!m.primary)
            return EventResult::Ignored;
        switch (key.character) {
        case U'a': m_edit.select_all(); break;
        case U'c': copy_selection(); return EventResult::Handled;
        case U'x': cut_selection(); return EventResult::Handled;
        case U'v': paste(); return EventResult::Handled;
        default: return EventResult::Ignored;
        }
        break;
    default: return EventResult::Ignored;
    }
    moved();
    return EventResult::Handled;
}

void TextInput::copy_selection()
{
    if (!m_edit.selection().empty())
        clipboard_copy(m_edit.selected_text());
}

void TextInput::cut_selection()
{
    // The text is only removed once it is safely on the clipboard.
    if (!m_edit.selection().empty() && clipboard_copy(m_edit.selected_text()))
        edited(m_edit.erase_selection());
}

void TextInput::paste()
{
    if (auto text = clipboard_paste_text())
        edited(m_edit.insert(*text));
}

void TextInput::handle_ime(const ImeEvent& ime)
{
    bool changed = false;
    if (!ime.commit.empty())
        changed = m_edit.insert(ime.commit);
    // A composition replaces the selection as soon as it starts.
    if (!ime.preedit.empty())
        changed |= m_edit.erase_selection();
    m_preedit = ime.preedit;
    edited(changed);
}

EventResult TextInput::handle_pointer(const PointerEvent& pointer)
{
    switch (pointer.action) {
    case PointerAction::Down: {
        if (pointer.button != PointerButton::Primary || !m_bounds.contains(pointer.position))
            return EventResult::Ignored;
        begin_edit();
        m_preedit.clear();
        if (pointer.click_count == 2) {
            m_edit.select_segment_at(grapheme_under(pointer.position.x));
            m_dragging = false;
        } else {
            m_edit.place_caret(nearest_boundary(pointer.position.x),
                               pointer.modifiers.shift ? Extend::Yes : Extend::No);
            m_dragging = true;
        }
        moved();
        return EventResult::Handled;
    }
    case PointerAction::Move:
        if (!m_dragging)
            return EventResult::Ignored;
        m_edit.place_caret(nearest_boundary(pointer.position.x), Extend::Yes);
        moved();
        return EventResult::Handled;
    case PointerAction::Up:
        if (!m_dragging || pointer.button != PointerButton::Primary)
            return EventResult::Ignored;
        m_dragging = false;
        return EventResult::Handled;
    case PointerAction::Leave: return EventResult::Ignored;
    }
    return EventResult::Ignored;
}

AccessNode TextInput::access_node() const
{
    AccessNode node;
    node.role = AccessRole::TextInput;
    node.name = m_label.empty() ? m_placeholder : m_label;
    node.value = m_edit.text();
    node.bounds = m_bounds;
    if (m_editing)
        node.states |= k_state_focused;
    return node;
}

void TextInput::accessibility(std::vector<AccessNode>& out) const { out.push_back(access_node()); }

}
