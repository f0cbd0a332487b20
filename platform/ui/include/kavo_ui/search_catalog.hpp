#pragma once

#include "kavo_ui/icons.hpp"
#include "kavo_ui/search_index.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <expected>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kavo_ui {

// One thing the desktop search can find. provider and key identify it; the rest is shown.
struct SearchEntry {
    std::string provider;
    std::string key;
    std::string title;
    std::string detail;
    std::string provenance;
    Icon icon = Icon::File;
    std::string action_address;
    bool operator==(const SearchEntry&) const = default;
};

struct SearchPage {
    std::vector<SearchEntry> entries;
    // Present when more results follow; valid until the catalog changes.
    std::optional<std::string> next_cursor;
};

struct SearchStats {
    size_t entries = 0;
    size_t providers = 0;
    uint64_t generation = 0;
};

// What the desktop search can find, shared by the toolkit and the application: every member
// takes the one lock, from any thread.
//
// A query matches entries whose title or detail holds every word of it (folded as
// normalize_search_text does; a word shorter than three characters matches word beginnings).
// Results are ranked: the whole title equals the query, then the title begins with it, then the
// title holds every word, then the rest; ties by title, then key.
class SearchCatalog {
public:
    static constexpr size_t k_max_page = 500;

    void add_provider(std::string id, std::string title);
    std::optional<std::string> provider_title(std::string_view id) const;

    // Adds the entry or replaces the one with its provider and key.
    void upsert(SearchEntry entry);
    // Whether there was such an entry.
    bool remove(std::string_view provider, std::string_view key);
    // How many entries went.
    size_t remove_provider_entries(std::string_view provider);

    // The page of results after the cursor (the first page without one); limit is clamped to
    // 1…k_max_page. A cursor made before the catalog last changed, or for another query, is an
    // error: the results it continued no longer exist.
    std::expected<SearchPage, std::string> query_page(std::string_view query, size_t limit,
                                                      std::string_view cursor = {}) const;
    // False once the catalog changed after the cursor was made (and for text that is no cursor).
    bool cursor_is_current(std::string_view cursor) const;
    SearchStats stats() const;

private:
    friend class SearchCatalogTestApi;

    struct Record {
        SearchEntry entry;
        std::string title_folded;
        std::string detail_folded;
        std::string title_words;  // the title's words joined by single spaces
    };

    struct Keys {
        std::vector<std::string> grams;
        std::vector<std::string> prefixes;
    };
    static Keys keys_of(const Record& record);
    void index(uint32_t id);
    void unindex(std::span<const uint32_t> ids);
    void release(uint32_t id);
    std::vector<uint32_t> candidates(const std::vector<std::string>& words) const;

    mutable std::mutex m_mutex;
    std::map<std::string, std::string, std::less<>> m_providers;
    std::vector<std::optional<Record>> m_records;  // indexed by entry id
    std::vector<uint32_t> m_free_ids;
    std::unordered_map<std::string, uint32_t> m_ids;  // provider and key → entry id
    SearchPostings m_grams;
    SearchPostings m_prefixes;
    uint64_t m_generation = 0;
    mutable size_t m_last_visited = 0;  // entries the last query started its intersection from
};

// The process's catalog, which the automation endpoint's search answers from.
SearchCatalog& search_catalog();

// {"entries": [{"provider", "title", "detail", "provenance", "icon", "action"}...],
//  "next_cursor": text or null}
nlohmann::ordered_json to_json(const SearchPage& page);
const char* icon_name(Icon icon);

}
