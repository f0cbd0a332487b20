#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Grapheme and word boundaries of UTF-8 text, as byte offsets (ICU break iterators over the
// bytes, so no conversion and no offset mapping). Positions passed in may be any byte offset;
// results are always boundaries within [0, text.size()].
namespace kavo_ui::text_boundaries {

size_t next_grapheme(std::string_view text, size_t pos);
size_t previous_grapheme(std::string_view text, size_t pos);
// Every grapheme boundary in order, 0 and text.size() included.
std::vector<size_t> graphemes(std::string_view text);

struct Segment {
    size_t start = 0;
    size_t end = 0;
    bool is_word = false;  // letters, digits, kana or ideographs; not spaces or punctuation
};
std::vector<Segment> word_segments(std::string_view text);

// The end of the word at or after pos (spaces and punctuation before it are skipped).
size_t next_word_end(std::string_view text, size_t pos);
// The start of the word before pos (spaces and punctuation after it are skipped).
size_t previous_word_start(std::string_view text, size_t pos);
// The segment (word, run of spaces or punctuation) that holds the character starting at pos.
Segment segment_at(std::string_view text, size_t pos);

}
