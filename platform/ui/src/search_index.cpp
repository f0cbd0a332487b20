#include "kavo_ui/search_index.hpp"

#include "text_boundaries.hpp"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <climits>

namespace kavo_ui {

namespace {

bool is_mark(UChar32 c)
{
    auto type = u_charType(c);
    return type == U_NON_SPACING_MARK || type == U_COMBINING_SPACING_MARK || type == U_ENCLOSING_MARK;
}

// Byte offsets of the code points of valid UTF-8, with text.size() at the end.
std::vector<size_t> code_point_offsets(std::string_view text)
{
    std::vector<size_t> out;
    int32_t i = 0, n = int32_t(text.size());
    while (i < n) {
        out.push_back(size_t(i));
        U8_FWD_1(text.data(), i, n);
    }
    out.push_back(text.size());
    return out;
}

void sort_unique(std::vector<std::string>& v)
{
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

}

std::string normalize_search_text(std::string_view text)
{
    text = text.substr(0, std::min<size_t>(text.size(), INT32_MAX));
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfkd = icu::Normalizer2::getNFKDInstance(status);
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return std::string(text);
    icu::UnicodeString s = nfkd->normalize(icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), int32_t(text.size()))), status);
    // Folding can produce characters that decompose further (U+0130 folds to i and a dot above).
    s = nfkd->normalize(s.foldCase(U_FOLD_CASE_DEFAULT), status);
    icu::UnicodeString kept;
    bool pending_space = false;
    for (int32_t i = 0; i < s.length();) {
        UChar32 c = s.char32At(i);
        i += U16_LENGTH(c);
        if (u_charType(c) == U_NON_SPACING_MARK)
            continue;
        if (u_isUWhiteSpace(c)) {
            pending_space = !kept.isEmpty();
            continue;
        }
        if (pending_space)
            kept.append(UChar32(' '));
        pending_space = false;
        kept.append(c);
    }
    kept = nfc->normalize(kept, status);
    if (U_FAILURE(status))
        return std::string(text);
    std::string out;
    kept.toUTF8String(out);
    return out;
}

std::vector<std::string> index_tokens(std::string_view normalized)
{
    std::vector<std::string> tokens;
    for (const auto& segment : text_boundaries::word_segments(normalized)) {
        if (!segment.is_word)
            continue;
        std::string_view word = normalized.substr(segment.start, segment.end - segment.start);
        std::string piece;
        int32_t i = 0, n = int32_t(word.size());
        while (i < n) {
            int32_t start = i;
            UChar32 c;
            U8_NEXT(word.data(), i, n, c);
            if (c >= 0 && (u_isalnum(c) || is_mark(c))) {
                piece.append(word.substr(size_t(start), size_t(i - start)));
            } else if (!piece.empty()) {
                tokens.push_back(std::move(piece));
                piece.clear();
            }
        }
        if (!piece.empty())
            tokens.push_back(std::move(piece));
    }
    return tokens;
}

std::vector<std::string> index_grams(std::span<const std::string> tokens)
{
    std::vector<std::string> grams;
    for (const auto& token : tokens) {
        auto at = code_point_offsets(token);
        for (size_t i = 0; i + 3 < at.size(); ++i)
            grams.push_back(token.substr(at[i], at[i + 3] - at[i]));
    }
    sort_unique(grams);
    return grams;
}

std::vector<std::string> index_prefixes(std::span<const std::string> tokens)
{
    std::vector<std::string> prefixes;
    for (const auto& token : tokens) {
        auto at = code_point_offsets(token);
        for (size_t len = 1; len <= 2 && len < at.size(); ++len)
            prefixes.push_back(token.substr(0, at[len]));
    }
    sort_unique(prefixes);
    return prefixes;
}

void add_postings(SearchPostings& postings, uint32_t entry, std::span<const std::string> keys)
{
    for (const auto& key : keys) {
        auto& list = postings[key];
        // New entries get the highest id, so this is nearly always an append.
        if (list.empty() || list.back() < entry) {
            list.push_back(entry);
            continue;
        }
        auto it = std::lower_bound(list.begin(), list.end(), entry);
        if (it == list.end() || *it != entry)
            list.insert(it, entry);
    }
}

void remove_postings(SearchPostings& postings, std::span<const uint32_t> entries, std::span<const std::string> keys)
{
    if (entries.empty())
        return;
    for (const auto& key : keys) {
        auto found = postings.find(key);
        if (found == postings.end())
            continue;
        auto& list = found->second;
        if (entries.size() == 1) {
            auto it = std::lower_bound(list.begin(), list.end(), entries.front());
            if (it != list.end() && *it == entries.front())
                list.erase(it);
        } else {
            std::erase_if(list, [&](uint32_t id) { return std::binary_search(entries.begin(), entries.end(), id); });
        }
        if (list.empty())
            postings.erase(found);
    }
}

}
