#include "text_boundaries.hpp"

#include <unicode/brkiter.h>
#include <unicode/ubrk.h>
#include <unicode/utext.h>

#include <algorithm>
#include <memory>

namespace kavo_ui::text_boundaries {

namespace {

enum class Kind { Grapheme, Word };

bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Creating an iterator loads its rules; one of each kind per thread is kept and re-pointed at
// the text of every call.
icu::BreakIterator* cached(Kind kind)
{
    thread_local std::unique_ptr<icu::BreakIterator> graphemes_it, words_it;
    auto& slot = kind == Kind::Grapheme ? graphemes_it : words_it;
    if (!slot) {
        UErrorCode status = U_ZERO_ERROR;
        slot.reset(kind == Kind::Grapheme ? icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status)
                                          : icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status))
            slot.reset();
    }
    return slot.get();
}

// An iterator set to the text for the lifetime of the object; null when ICU failed, and the
// callers then step by code point.
class Breaks {
public:
    Breaks(Kind kind, std::string_view text)
    {
        UErrorCode status = U_ZERO_ERROR;
        utext_openUTF8(&m_text, text.data(), int64_t(text.size()), &status);
        icu::BreakIterator* it = cached(kind);
        if (U_SUCCESS(status) && it) {
            it->setText(&m_text, status);
            if (U_SUCCESS(status))
                m_it = it;
        }
    }
    ~Breaks() { utext_close(&m_text); }
    Breaks(const Breaks&) = delete;
    Breaks& operator=(const Breaks&) = delete;

    icu::BreakIterator* operator->() const { return m_it; }
    explicit operator bool() const { return m_it != nullptr; }

private:
    UText m_text = UTEXT_INITIALIZER;
    icu::BreakIterator* m_it = nullptr;
};

size_t next_code_point(std::string_view text, size_t pos)
{
    if (pos >= text.size())
        return text.size();
    ++pos;
    while (pos < text.size() && is_continuation(text[pos]))
        ++pos;
    return pos;
}

size_t previous_code_point(std::string_view text, size_t pos)
{
    pos = std::min(pos, text.size());
    if (pos == 0)
        return 0;
    --pos;
    while (pos > 0 && is_continuation(text[pos]))
        --pos;
    return pos;
}

size_t clamp_result(int32_t b, size_t fallback, size_t size)
{
    return b == icu::BreakIterator::DONE ? fallback : std::min(size_t(b), size);
}

}

size_t next_grapheme(std::string_view text, size_t pos)
{
    if (pos >= text.size())
        return text.size();
    Breaks it(Kind::Grapheme, text);
    if (!it)
        return next_code_point(text, pos);
    return clamp_result(it->following(int32_t(pos)), text.size(), text.size());
}

size_t previous_grapheme(std::string_view text, size_t pos)
{
    pos = std::min(pos, text.size());
    if (pos == 0)
        return 0;
    Breaks it(Kind::Grapheme, text);
    if (!it)
        return previous_code_point(text, pos);
    return clamp_result(it->preceding(int32_t(pos)), 0, text.size());
}

std::vector<size_t> graphemes(std::string_view text)
{
    std::vector<size_t> out{0};
    Breaks it(Kind::Grapheme, text);
    if (!it) {
        for (size_t p = 0; p < text.size();)
            out.push_back(p = next_code_point(text, p));
        return out;
    }
    it->first();
    for (int32_t b = it->next(); b != icu::BreakIterator::DONE; b = it->next())
        out.push_back(size_t(b));
    if (out.back() != text.size())
        out.push_back(text.size());
    return out;
}

std::vector<Segment> word_segments(std::string_view text)
{
    std::vector<Segment> out;
    Breaks it(Kind::Word, text);
    if (!it) {
        if (!text.empty())
            out.push_back({0, text.size(), true});
        return out;
    }
    size_t start = size_t(it->first());
    for (int32_t b = it->next(); b != icu::BreakIterator::DONE; b = it->next()) {
        // The rule status describes the segment that ends at this boundary.
        out.push_back({start, size_t(b), it->getRuleStatus() >= UBRK_WORD_NONE_LIMIT});
        start = size_t(b);
    }
    return out;
}

size_t next_word_end(std::string_view text, size_t pos)
{
    for (const auto& s : word_segments(text))
        if (s.is_word && s.end > pos)
            return s.end;
    return text.size();
}

size_t previous_word_start(std::string_view text, size_t pos)
{
    auto segments = word_segments(text);
    for (auto it = segments.rbegin(); it != segments.rend(); ++it)
        if (it->is_word && it->start < pos)
            return it->start;
    return 0;
}

Segment segment_at(std::string_view text, size_t pos)
{
    auto segments = word_segments(text);
    if (segments.empty())
        return {0, 0, false};
    for (const auto& s : segments)
        if (pos < s.end)
            return s;
    return segments.back();
}

}
