#pragma once

#include "kavo_ui/text_edit.hpp"
#include "kavo_ui/widget.hpp"

#include <deque>
#include <optional>
#include <string>
#include <utility>

namespace kavo_ui {

// A single-line text field. While editing (the field has the keyboard focus) it takes keys,
// typed text, input-method composition and pointer presses; otherwise it only shows its text and
// a press on it begins editing. Who has the focus is the owner's decision: Enter and Escape are
// only reported, the owner ends the edit.
class TextInput : public Widget {
public:
    enum class Outcome { Changed, Submitted, Cancelled };

    // The text's padding inside the field, left and right (logical pixels, times the UI scale);
    // owners line the field up with labels by it.
    static constexpr float k_inner_margin = 8;
    static constexpr float k_height = 32;

    TextInput(std::string id, std::string placeholder);

    const std::string& text() const { return m_edit.text(); }
    // Replaces the text without reporting Changed; caret to the end, selection cleared.
    void set_text(std::string text);
    const std::string& placeholder() const { return m_placeholder; }
    void set_placeholder(std::string placeholder);
    // The accessible name; the placeholder stands in while it is empty.
    void set_label(std::string label) { m_label = std::move(label); }

    size_t caret() const { return m_edit.caret(); }
    TextSelection selection() const { return m_edit.selection(); }
    void select_all();
    // The input method's composition, shown at the caret; not part of text().
    const std::string& preedit() const { return m_preedit; }

    void begin_edit();
    void end_edit();
    bool editing() const { return m_editing; }

    // What happened, oldest first. Consecutive changes are reported once; Submitted and
    // Cancelled are never swallowed by a later change.
    std::optional<Outcome> take_outcome();

    // How far the text is scrolled to the left to keep the caret in view.
    float scroll_x() const { return m_scroll; }
    // The window x of the caret as it is drawn.
    float caret_x() const;
    // The accessibility node of the field (composite widgets embed it).
    AccessNode access_node() const;

    Size measure(float available_width, const Theme&) override;
    void layout(const Rect& bounds, const Theme&) override;
    void draw(Painter&, const Theme&) override;
    EventResult handle_event(const Event&) override;
    void accessibility(std::vector<AccessNode>&) const override;
    bool take_paint_dirty() override { return std::exchange(m_paint_dirty, false); }

private:
    EventResult handle_key(const KeyEvent& key);
    EventResult handle_pointer(const PointerEvent& pointer);
    void handle_ime(const ImeEvent& ime);
    void copy_selection();
    void cut_selection();
    void paste();
    // After an edit: report it, keep the caret in view, redraw.
    void edited(bool changed);
    void moved();
    void push(Outcome outcome);
    void reveal_caret();
    float text_origin() const;
    float width_of(std::string_view text) const;
    // The text shown: the text with the composition at the caret.
    std::string display_text() const;
    // The boundary nearest to window x, or the start of the grapheme under it.
    size_t nearest_boundary(float x) const;
    size_t grapheme_under(float x) const;

    TextEdit m_edit;
    std::string m_placeholder;
    std::string m_label;
    std::string m_preedit;
    std::deque<Outcome> m_outcomes;
    bool m_editing = false;
    bool m_dragging = false;
    bool m_paint_dirty = false;
    float m_scroll = 0;
    // Taken from the theme at layout, so events between layouts measure as the last draw did.
    TextStyle m_style{13.0f, FontWeight::Regular};
    float m_margin = k_inner_margin;
    float m_scale = 1;
};

}
