#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The text side of search: folding text so that "Résumé", "RESUME" and "resume" meet, cutting it
// into words and the character trigrams that make substring matches findable without a scan,
// and the posting lists that map a word piece to the entries holding it.
namespace kavo_ui {

// Case and accent folding: compatibility decomposition, combining marks dropped, full case
// folding ("ß" becomes "ss"), recomposed; runs of white space become one space, trimmed.
std::string normalize_search_text(std::string_view text);

// The words of normalised text in order (duplicates kept). Word pieces joined by punctuation
// ("annual_report.pdf") are separate words, as users search for any of them.
std::vector<std::string> index_tokens(std::string_view normalized);

// The distinct character (code point) trigrams of the words, sorted; words shorter than three
// characters contribute none.
std::vector<std::string> index_grams(std::span<const std::string> tokens);

// The distinct one- and two-character word beginnings, sorted: how queries shorter than a
// trigram still find words without a scan.
std::vector<std::string> index_prefixes(std::span<const std::string> tokens);

// Word piece → ids of the entries that hold it, each list sorted ascending without duplicates.
using SearchPostings = std::unordered_map<std::string, std::vector<uint32_t>>;

void add_postings(SearchPostings& postings, uint32_t entry, std::span<const std::string> keys);
// Drops the entries (sorted ascending) from the lists of the keys; emptied lists are erased.
void remove_postings(SearchPostings& postings, std::span<const uint32_t> entries, std::span<const std::string> keys);

}
