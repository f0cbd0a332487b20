#include "kavo_ui/search_catalog.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>

namespace kavo_ui {

namespace {

std::string id_key(std::string_view provider, std::string_view key)
{
    return fmt::format("{}:{}{}", provider.size(), provider, key);
}

std::string joined(const std::vector<std::string>& words)
{
    std::string out;
    for (const auto& w : words) {
        if (!out.empty())
            out.push_back(' ');
        out += w;
    }
    return out;
}

size_t code_points(std::string_view s)
{
    return size_t(std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// FNV-1a: ties a cursor to the query it was made for.
uint64_t query_hash(std::string_view s)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (char c : s) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ull;
    }
    return h;
}

struct Cursor {
    uint64_t generation = 0;
    size_t offset = 0;
    uint64_t query = 0;
};

std::string to_text(const Cursor& c) { return fmt::format("{}-{}-{:016x}", c.generation, c.offset, c.query); }

std::optional<Cursor> parse_cursor(std::string_view text)
{
    Cursor c;
    const char* p = text.data();
    const char* end = text.data() + text.size();
    auto field = [&](auto& value, int base, bool last) {
        auto [next, ec] = std::from_chars(p, end, value, base);
        if (ec != std::errc() || next == p)
            return false;
        p = next;
        if (last)
            return p == end;
        if (p == end || *p != '-')
            return false;
        ++p;
        return true;
    };
    if (!field(c.generation, 10, false) || !field(c.offset, 10, false) || !field(c.query, 16, true))
        return std::nullopt;
    return c;
}

constexpr size_t k_sweep_threshold = 256;

enum Tier { k_exact_title, k_title_prefix, k_title_words, k_elsewhere };

}

void SearchCatalog::add_provider(std::string id, std::string title)
{
    std::lock_guard lock(m_mutex);
    auto [it, inserted] = m_providers.try_emplace(std::move(id), title);
    if (!inserted && it->second == title)
        return;
    it->second = std::move(title);
    ++m_generation;
}

std::optional<std::string> SearchCatalog::provider_title(std::string_view id) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_providers.find(id);
    if (it == m_providers.end())
        return std::nullopt;
    return it->second;
}

SearchCatalog::Keys SearchCatalog::keys_of(const Record& record)
{
    auto words = index_tokens(record.title_folded);
    auto detail = index_tokens(record.detail_folded);
    words.insert(words.end(), std::make_move_iterator(detail.begin()), std::make_move_iterator(detail.end()));
    return {index_grams(words), index_prefixes(words)};
}

void SearchCatalog::index(uint32_t id)
{
    Keys keys = keys_of(*m_records[id]);
    add_postings(m_grams, id, keys.grams);
    add_postings(m_prefixes, id, keys.prefixes);
}

void SearchCatalog::unindex(std::span<const uint32_t> ids)
{
    // Many entries at once (a provider withdrawing everything): one sweep over all posting lists
    // costs less than working out and sorting every key of every entry.
    if (ids.size() > k_sweep_threshold) {
        std::vector<bool> gone(m_records.size());
        for (uint32_t id : ids)
            gone[id] = true;
        for (auto* postings : {&m_grams, &m_prefixes}) {
            for (auto it = postings->begin(); it != postings->end();) {
                std::erase_if(it->second, [&](uint32_t id) { return gone[id]; });
                it = it->second.empty() ? postings->erase(it) : std::next(it);
            }
        }
        return;
    }
    Keys all;
    for (uint32_t id : ids) {
        Keys keys = keys_of(*m_records[id]);
        all.grams.insert(all.grams.end(), keys.grams.begin(), keys.grams.end());
        all.prefixes.insert(all.prefixes.end(), keys.prefixes.begin(), keys.prefixes.end());
    }
    for (auto* list : {&all.grams, &all.prefixes}) {
        std::sort(list->begin(), list->end());
        list->erase(std::unique(list->begin(), list->end()), list->end());
    }
    remove_postings(m_grams, ids, all.grams);
    remove_postings(m_prefixes, ids, all.prefixes);
}

void SearchCatalog::release(uint32_t id)
{
    m_records[id].reset();
    m_free_ids.push_back(id);
}

void SearchCatalog::upsert(SearchEntry entry)
{
    // Folding is the costly part and needs no lock.
    Record record;
    record.title_folded = normalize_search_text(entry.title);
    record.detail_folded = normalize_search_text(entry.detail);
    record.title_words = joined(index_tokens(record.title_folded));
    std::string key = id_key(entry.provider, entry.key);
    record.entry = std::move(entry);

    std::lock_guard lock(m_mutex);
    if (auto found = m_ids.find(key); found != m_ids.end()) {
        uint32_t id = found->second;
        Record& old = *m_records[id];
        if (old.entry == record.entry)
            return;
        bool same_text = old.title_folded == record.title_folded && old.detail_folded == record.detail_folded;
        if (!same_text)
            unindex(std::span(&id, 1));
        old = std::move(record);
        if (!same_text)
            index(id);
        ++m_generation;
        return;
    }
    uint32_t id;
    if (!m_free_ids.empty()) {
        id = m_free_ids.back();
        m_free_ids.pop_back();
        m_records[id] = std::move(record);
    } else {
        id = uint32_t(m_records.size());
        m_records.push_back(std::move(record));
    }
    m_ids.emplace(std::move(key), id);
    index(id);
    ++m_generation;
}

bool SearchCatalog::remove(std::string_view provider, std::string_view key)
{
    std::lock_guard lock(m_mutex);
    auto found = m_ids.find(id_key(provider, key));
    if (found == m_ids.end())
        return false;
    uint32_t id = found->second;
    unindex(std::span(&id, 1));
    m_ids.erase(found);
    release(id);
    ++m_generation;
    return true;
}

size_t SearchCatalog::remove_provider_entries(std::string_view provider)
{
    std::lock_guard lock(m_mutex);
    std::vector<uint32_t> ids;
    for (uint32_t id = 0; id < m_records.size(); ++id)
        if (m_records[id] && m_records[id]->entry.provider == provider)
            ids.push_back(id);
    if (ids.empty())
        return 0;
    unindex(ids);
    for (uint32_t id : ids) {
        m_ids.erase(id_key(provider, m_records[id]->entry.key));
        release(id);
    }
    ++m_generation;
    return ids.size();
}

std::vector<uint32_t> SearchCatalog::candidates(const std::vector<std::string>& words) const
{
    // Every word must match, so the candidates are the intersection of one posting list per
    // trigram of each word (or its beginning, for short words); the shortest list bounds the work.
    std::vector<const std::vector<uint32_t>*> lists;
    for (const auto& word : words) {
        bool short_word = code_points(word) < 3;
        std::vector<std::string> keys = short_word ? std::vector<std::string>{word} : index_grams(std::span(&word, 1));
        const SearchPostings& postings = short_word ? m_prefixes : m_grams;
        for (const auto& key : keys) {
            auto it = postings.find(key);
            if (it == postings.end())
                return {};
            lists.push_back(&it->second);
        }
    }
    if (lists.empty())
        return {};
    std::sort(lists.begin(), lists.end(), [](auto* a, auto* b) { return a->size() < b->size(); });
    m_last_visited = lists.front()->size();
    std::vector<uint32_t> out = *lists.front();
    for (size_t i = 1; i < lists.size() && !out.empty(); ++i)
        std::erase_if(out, [&](uint32_t id) { return !std::binary_search(lists[i]->begin(), lists[i]->end(), id); });
    return out;
}

std::expected<SearchPage, std::string> SearchCatalog::query_page(std::string_view query, size_t limit,
                                                                 std::string_view cursor) const
{
    std::string folded = normalize_search_text(query);
    std::vector<std::string> words = index_tokens(folded);
    std::string query_words = joined(words);
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    limit = std::clamp<size_t>(limit, 1, k_max_page);

    std::lock_guard lock(m_mutex);
    Cursor start{m_generation, 0, query_hash(query_words)};
    if (!cursor.empty()) {
        auto parsed = parse_cursor(cursor);
        if (!parsed)
            return std::unexpected("not a search cursor");
        if (parsed->generation != m_generation)
            return std::unexpected("the search results changed since the cursor was made");
        if (parsed->query != start.query)
            return std::unexpected("the cursor belongs to another query");
        start.offset = parsed->offset;
    }
    m_last_visited = 0;
    if (words.empty())
        return SearchPage{};

    struct Hit {
        Tier tier;
        const Record* record;
    };
    std::vector<Hit> hits;
    auto ids = candidates(words);
    for (uint32_t id : ids) {
        const Record& r = *m_records[id];
        bool in_title = true, everywhere = true;
        for (const auto& w : words) {
            bool t = r.title_folded.find(w) != std::string::npos;
            in_title &= t;
            everywhere &= t || r.detail_folded.find(w) != std::string::npos;
        }
        if (!everywhere)
            continue;
        Tier tier = r.title_words == query_words             ? k_exact_title
                    : r.title_words.starts_with(query_words) ? k_title_prefix
                    : in_title                               ? k_title_words
                                                             : k_elsewhere;
        hits.push_back({tier, &r});
    }

    auto before = [](const Hit& a, const Hit& b) {
        const SearchEntry& x = a.record->entry;
        const SearchEntry& y = b.record->entry;
        return std::tie(a.tier, a.record->title_folded, x.title, x.key, x.provider)
             < std::tie(b.tier, b.record->title_folded, y.title, y.key, y.provider);
    };
    SearchPage page;
    if (start.offset >= hits.size())
        return page;
    size_t end = std::min(hits.size(), start.offset + limit);
    std::partial_sort(hits.begin(), hits.begin() + std::ptrdiff_t(end), hits.end(), before);
    for (size_t i = start.offset; i < end; ++i)
        page.entries.push_back(hits[i].record->entry);
    if (end < hits.size())
        page.next_cursor = to_text(Cursor{m_generation, end, start.query});
    return page;
}

bool SearchCatalog::cursor_is_current(std::string_view cursor) const
{
    auto parsed = parse_cursor(cursor);
    std::lock_guard lock(m_mutex);
    return parsed && parsed->generation == m_generation;
}

SearchStats SearchCatalog::stats() const
{
    std::lock_guard lock(m_mutex);
    return {m_ids.size(), m_providers.size(), m_generation};
}

SearchCatalog& search_catalog()
{
    // Never destroyed: a worker may still publish while the process exits.
    static auto* catalog = new SearchCatalog;
    return *catalog;
}

const char* icon_name(Icon icon)
{
    switch (icon) {
    case Icon::Folder: return "folder";
    case Icon::File: return "file";
    case Icon::FileText: return "file-text";
    case Icon::FileImage: return "file-image";
    case Icon::FileAudio: return "file-audio";
    case Icon::FileVideo: return "file-video";
    case Icon::FileArchive: return "file-archive";
    case Icon::FileDocument: return "file-document";
    case Icon::FileSpreadsheet: return "file-spreadsheet";
    case Icon::FilePresentation: return "file-presentation";
    case Icon::FileCode: return "file-code";
    case Icon::FilePdf: return "file-pdf";
    case Icon::Home: return "home";
    case Icon::Root: return "root";
    case Icon::Trash: return "trash";
    case Icon::Workspace: return "workspace";
    case Icon::Documents: return "documents";
    case Icon::Downloads: return "downloads";
    case Icon::Pictures: return "pictures";
    case Icon::Music: return "music";
    case Icon::Videos: return "videos";
    case Icon::Back: return "back";
    case Icon::Forward: return "forward";
    case Icon::Up: return "up";
    case Icon::Menu: return "menu";
    case Icon::Grid: return "grid";
    case Icon::List: return "list";
    case Icon::Refresh: return "refresh";
    case Icon::Warning: return "warning";
    }
    return "file";
}

nlohmann::ordered_json to_json(const SearchPage& page)
{
    nlohmann::ordered_json entries = nlohmann::ordered_json::array();
    for (const auto& e : page.entries)
        entries.push_back({
            {"provider", e.provider},
            {"title", e.title},
            {"detail", e.detail},
            {"provenance", e.provenance},
            {"icon", icon_name(e.icon)},
            {"action", e.action_address},
        });
    nlohmann::ordered_json cursor = nullptr;
    if (page.next_cursor)
        cursor = *page.next_cursor;
    return {{"entries", std::move(entries)}, {"next_cursor", std::move(cursor)}};
}

}
