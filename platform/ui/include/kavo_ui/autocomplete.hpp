#pragma once

#include "kavo_ui/text_input.hpp"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo_ui {

// A text field with a list of completions drawn in the overlay layer below it. The owner
// supplies the candidates for a text; the list follows every change of the text.
//
//   key      list open, row highlighted   list open, none highlighted   list closed
//   Down     next row (stops at the last) first row                     opens the list
//   Up       previous row; none from the  last row                      opens the list
//            first
//   Tab      accepts the row              (not taken)                   (not taken)
//   Enter    accepts the row              submits                       submits
//   Escape   closes the list              closes the list               cancels
//
// PageDown and PageUp move like Down and Up by a list's height of rows.
// Accepting puts the candidate's value into the field and asks for candidates again. A result
// (Submitted or Cancelled) ends the edit; the list closes with it.
class Autocomplete : public Widget {
public:
    struct Candidate {
        std::string label;
        std::string value;
        bool is_folder = false;
        bool operator==(const Candidate&) const = default;
    };
    struct Result {
        enum Kind { Submitted, Cancelled };
        Kind kind;
        std::string text;
    };
    using CandidateProvider = std::function<std::vector<Candidate>(std::string_view text)>;

    static constexpr size_t k_default_visible_rows = 8;
    static constexpr float k_row_height = 28;

    Autocomplete(std::string id, std::string placeholder);

    void set_candidate_provider(CandidateProvider provider) { m_provider = std::move(provider); }
    void set_max_visible_rows(size_t rows) { m_max_rows = std::max<size_t>(1, rows); }

    // Shows the text with the caret at its end and takes the keyboard; the list stays closed
    // until the text changes or Down asks for it.
    void begin_edit(std::string text);
    void end_edit();
    bool editing() const { return m_input.editing(); }
    std::optional<Result> take_result() { return std::exchange(m_result, std::nullopt); }

    TextInput& input() { return m_input; }
    const TextInput& input() const { return m_input; }
    const std::vector<Candidate>& candidates() const { return m_candidates; }
    bool list_open() const { return m_open; }
    std::optional<size_t> highlighted() const { return m_highlight; }
    // Index of the first row shown when the list scrolls.
    size_t first_visible_row() const { return m_first_row; }
    // The list's rectangle and a row's, in window coordinates (empty while closed or hidden).
    Rect list_rect() const;
    Rect row_rect(size_t index) const;

    Size measure(float available_width, const Theme&) override;
    void layout(const Rect& bounds, const Theme&) override;
    void draw(Painter&, const Theme&) override;
    void draw_overlay(Painter&, const Theme&) override;
    EventResult handle_event(const Event&) override;
    void accessibility(std::vector<AccessNode>&) const override;
    void visit_children(const std::function<void(Widget&)>&) override;
    bool take_paint_dirty() override;

private:
    EventResult handle_key(const KeyEvent& key);
    EventResult handle_list_pointer(const Event& e);
    EventResult forward(const Event& e);
    void refresh();
    void close_list();
    void move_highlight(int step);
    void accept(size_t index);
    void finish(Result::Kind kind);
    void scroll_rows(long rows);
    void keep_highlight_visible();
    size_t visible_rows() const;

    TextInput m_input;
    CandidateProvider m_provider;
    std::vector<Candidate> m_candidates;
    std::optional<Result> m_result;
    std::optional<size_t> m_highlight;
    std::optional<size_t> m_hover;
    size_t m_first_row = 0;
    size_t m_max_rows = k_default_visible_rows;
    bool m_open = false;
    bool m_paint_dirty = false;
    float m_row_height = k_row_height;
    float m_gap = 4;
};

}
