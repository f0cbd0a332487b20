#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace kavo_ui {

// A selection within one line of text: the anchor stays where it began, the caret moves. An
// empty selection is just the caret.
struct TextSelection {
    size_t anchor = 0;
    size_t caret = 0;

    size_t start() const { return std::min(anchor, caret); }
    size_t end() const { return std::max(anchor, caret); }
    bool empty() const { return anchor == caret; }
    bool operator==(const TextSelection&) const = default;
};

// The editing state of a single-line field apart from how it is drawn: the text, the selection,
// the caret moves and the edits. Positions are byte offsets into the UTF-8 text; moves and edits
// keep them on grapheme cluster boundaries, so an accented letter typed as a base letter plus a
// combining mark is stepped over and deleted as one.
class TextEdit {
public:
    enum class Direction { Backward, Forward };
    enum class Unit { Grapheme, Word, Line };
    enum class Extend { No, Yes };

    // Longer input is cut at a grapheme boundary: a pasted file of megabytes must not turn every
    // later keystroke into a measurement of megabytes.
    static constexpr size_t k_max_bytes = 64 * 1024;

    const std::string& text() const { return m_text; }
    TextSelection selection() const { return m_selection; }
    size_t caret() const { return m_selection.caret; }
    std::string_view selected_text() const;

    // Replaces the text as it stands (invalid UTF-8 becomes U+FFFD); caret to the end, no
    // selection.
    void set_text(std::string text);

    void move(Direction direction, Unit unit, Extend extend);
    // Moves the caret to pos (snapped back to a code point boundary), keeping the anchor when
    // extending.
    void place_caret(size_t pos, Extend extend);
    void select_all();
    // Selects the word, run of spaces or run of punctuation holding the character at pos.
    void select_segment_at(size_t pos);

    // Edits return whether the text changed. Inserted text replaces the selection; line breaks
    // and tabs in it become spaces and other control characters are dropped, since the field
    // holds one line.
    bool insert(std::string_view text);
    // Deletes the selection, or else one unit before or after the caret.
    bool erase(Direction direction, Unit unit);
    bool erase_selection();

private:
    size_t boundary(Direction direction, Unit unit) const;

    std::string m_text;
    TextSelection m_selection;
};

}
