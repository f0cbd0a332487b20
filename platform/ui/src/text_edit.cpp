#include "kavo_ui/text_edit.hpp"

#include "text_boundaries.hpp"

#include <kavo_services/utf8.hpp>

namespace kavo_ui {

namespace tb = text_boundaries;

namespace {

bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// One line of text: breaks become spaces (a CR LF pair one space), other C0 and C1 controls go.
std::string single_line(std::string_view valid_utf8)
{
    std::string out;
    out.reserve(valid_utf8.size());
    for (size_t i = 0; i < valid_utf8.size(); ++i) {
        auto c = static_cast<unsigned char>(valid_utf8[i]);
        if (c == '\r' && i + 1 < valid_utf8.size() && valid_utf8[i + 1] == '\n')
            continue;
        if (c == '\r' || c == '\n' || c == '\t') {
            out.push_back(' ');
        } else if (c < 0x20 || c == 0x7F) {
            // dropped
        } else if (c == 0xC2 && i + 1 < valid_utf8.size() && static_cast<unsigned char>(valid_utf8[i + 1]) < 0xA0) {
            ++i;  // U+0080…U+009F
        } else if (c == 0xE2 && valid_utf8.substr(i, 3) == "\u2028") {
            out.push_back(' ');
            i += 2;
        } else if (c == 0xE2 && valid_utf8.substr(i, 3) == "\u2029") {
            out.push_back(' ');
            i += 2;
        } else {
            out.push_back(char(c));
        }
    }
    return out;
}

// The longest prefix of text that ends on a grapheme boundary and fits in max_bytes.
std::string_view fitting_prefix(std::string_view text, size_t max_bytes)
{
    if (text.size() <= max_bytes)
        return text;
    size_t cut = 0;
    for (size_t b : tb::graphemes(text)) {
        if (b > max_bytes)
            break;
        cut = b;
    }
    return text.substr(0, cut);
}

}

std::string_view TextEdit::selected_text() const
{
    return std::string_view(m_text).substr(m_selection.start(), m_selection.end() - m_selection.start());
}

void TextEdit::set_text(std::string text)
{
    m_text = kavo_services::is_valid_utf8(text) ? std::move(text) : kavo_services::lossy_utf8(std::string_view(text));
    m_selection = {m_text.size(), m_text.size()};
}

size_t TextEdit::boundary(Direction direction, Unit unit) const
{
    size_t caret = m_selection.caret;
    bool forward = direction == Direction::Forward;
    switch (unit) {
    case Unit::Grapheme: return forward ? tb::next_grapheme(m_text, caret) : tb::previous_grapheme(m_text, caret);
    case Unit::Word: return forward ? tb::next_word_end(m_text, caret) : tb::previous_word_start(m_text, caret);
    case Unit::Line: return forward ? m_text.size() : 0;
    }
    return caret;
}

void TextEdit::move(Direction direction, Unit unit, Extend extend)
{
    // An arrow without Shift first collapses a selection to the side it points at.
    if (extend == Extend::No && unit == Unit::Grapheme && !m_selection.empty()) {
        size_t edge = direction == Direction::Forward ? m_selection.end() : m_selection.start();
        m_selection = {edge, edge};
        return;
    }
    place_caret(boundary(direction, unit), extend);
}

void TextEdit::place_caret(size_t pos, Extend extend)
{
    pos = std::min(pos, m_text.size());
    while (pos > 0 && pos < m_text.size() && is_continuation(m_text[pos]))
        --pos;
    m_selection.caret = pos;
    if (extend == Extend::No)
        m_selection.anchor = pos;
}

void TextEdit::select_all() { m_selection = {0, m_text.size()}; }

void TextEdit::select_segment_at(size_t pos)
{
    auto segment = tb::segment_at(m_text, pos);
    m_selection = {segment.start, segment.end};
}

bool TextEdit::insert(std::string_view text)
{
    std::string clean = single_line(kavo_services::lossy_utf8(text));
    size_t start = m_selection.start();
    size_t removed = m_selection.end() - start;
    size_t kept = m_text.size() - removed;
    std::string_view piece = fitting_prefix(clean, kept < k_max_bytes ? k_max_bytes - kept : 0);
    if (piece.empty())
        return false;
    m_text.replace(start, removed, piece);
    size_t caret = start + piece.size();
    m_selection = {caret, caret};
    return true;
}

bool TextEdit::erase_selection()
{
    if (m_selection.empty())
        return false;
    size_t start = m_selection.start();
    m_text.erase(start, m_selection.end() - start);
    m_selection = {start, start};
    return true;
}

bool TextEdit::erase(Direction direction, Unit unit)
{
    if (erase_selection())
        return true;
    size_t caret = m_selection.caret;
    size_t other = boundary(direction, unit);
    size_t from = std::min(caret, other), to = std::max(caret, other);
    if (from == to)
        return false;
    m_text.erase(from, to - from);
    m_selection = {from, from};
    return true;
}

}
