#include "model/sorting.hpp"

#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/stringpiece.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace files::model {

namespace {

// One entry's place in the sort. The first sixteen bytes of a text key (or the number of a
// numeric key) sit in the item itself, so most comparisons never touch the entries or the key
// bytes; the index breaks ties, which makes the unstable sort stable.
struct SortItem {
    uint64_t primary = 0;
    uint64_t secondary = 0;
    uint32_t index = 0;
    uint32_t length = 0;
};

constexpr size_t k_inline_key_bytes = 16;

uint64_t big_endian_word(std::string_view key, size_t from)
{
    uint64_t word = 0;
    for (size_t k = from; k < from + 8; ++k)
        word = (word << 8) | (k < key.size() ? static_cast<uint8_t>(key[k]) : 0);
    return word;
}

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The full lower-case mapping of the whole string, so that context-dependent mappings (a final
// sigma) and expanding ones ("İ" → "i̇") apply. ICU is reached only for names that are not ASCII.
void append_lower_case(std::string& out, std::string_view name)
{
    size_t before = out.size();
    out.append(name);
    bool ascii = true;
    for (size_t k = before; k < out.size(); ++k) {
        if (static_cast<unsigned char>(out[k]) >= 0x80) {
            ascii = false;
            break;
        }
        out[k] = ascii_lower(out[k]);
    }
    if (ascii)
        return;
    out.resize(before);
    UErrorCode status = U_ZERO_ERROR;
    icu::StringByteSink<std::string> sink(&out);
    icu::CaseMap::utf8ToLower("", 0, icu::StringPiece(name.data(), static_cast<int32_t>(name.size())), sink,
                              nullptr, status);
    if (U_FAILURE(status)) {
        out.resize(before);
        out.append(name);
    }
}

// Lower-case names of all entries, built once per sort in one buffer.
class NameKeys {
public:
    explicit NameKeys(const EntryList& entries)
    {
        m_starts.reserve(entries.size() + 1);
        m_bytes.reserve(entries.size() * 24);
        for (const auto& e : entries) {
            m_starts.push_back(m_bytes.size());
            append_lower_case(m_bytes, e.name);
        }
        m_starts.push_back(m_bytes.size());
    }

    std::string_view operator()(uint32_t index) const
    {
        return std::string_view(m_bytes).substr(m_starts[index], m_starts[index + 1] - m_starts[index]);
    }

private:
    std::string m_bytes;
    std::vector<size_t> m_starts;
};

int compare_numbers(const SortItem& a, const SortItem& b)
{
    if (a.primary != b.primary)
        return a.primary < b.primary ? -1 : 1;
    if (a.secondary != b.secondary)
        return a.secondary < b.secondary ? -1 : 1;
    return 0;
}

template<typename KeyOf>
int compare_text(const SortItem& a, const SortItem& b, const KeyOf& key_of)
{
    if (int c = compare_numbers(a, b); c != 0)
        return c;
    if (a.length <= k_inline_key_bytes && b.length <= k_inline_key_bytes)
        return a.length == b.length ? 0 : a.length < b.length ? -1 : 1;
    // Equal inline bytes with a length of at most sixteen on one side can only mean NUL padding
    // against real NUL bytes, so the rest still decides.
    std::string_view ka = key_of(a.index);
    std::string_view kb = key_of(b.index);
    auto rest = [](std::string_view key) { return key.substr(std::min(key.size(), k_inline_key_bytes)); };
    int c = rest(ka).compare(rest(kb));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

SortItem text_item(uint32_t index, std::string_view key)
{
    return {big_endian_word(key, 0), big_endian_word(key, 8), index, static_cast<uint32_t>(key.size())};
}

SortItem number_item(uint32_t index, const DirectoryEntry& entry, SortBy sort_by)
{
    if (sort_by == SortBy::Size)
        return {entry.size, 0, index, 0};
    // An absent time is (0, 0); every present time has a secondary of at least 1.
    if (!entry.modified)
        return {0, 0, index, 0};
    uint64_t biased_seconds = static_cast<uint64_t>(entry.modified->unix_seconds) ^ (uint64_t(1) << 63);
    return {biased_seconds, uint64_t(entry.modified->nanoseconds) + 1, index, 0};
}

// Moves every entry to its place: order[i] is the old index of the entry that belongs at i.
// Following the permutation's cycles moves each entry once and needs no second list.
void apply_order(EntryList& entries, std::vector<uint32_t>& order)
{
    for (uint32_t i = 0; i < order.size(); ++i) {
        if (order[i] == i)
            continue;
        DirectoryEntry held = std::move(entries[i]);
        uint32_t to = i;
        for (;;) {
            uint32_t from = order[to];
            order[to] = to;
            // The cycle jumps around the list; fetch the entry after next while this one moves.
            __builtin_prefetch(&entries[order[from]]);
            if (from == i) {
                entries[to] = std::move(held);
                break;
            }
            entries[to] = std::move(entries[from]);
            to = from;
        }
    }
}

}

void sort_entries(EntryList& entries, SortBy sort_by, SortOrder sort_order)
{
    if (entries.size() < 2)
        return;
    // 32-bit indices keep the sort items small; no folder comes near four billion entries.
    auto count = static_cast<uint32_t>(entries.size());

    std::optional<NameKeys> names;
    if (sort_by == SortBy::Name)
        names.emplace(entries);
    auto type_of = [&](uint32_t i) { return std::string_view(entries[i].mime_type); };

    std::vector<SortItem> items;
    items.reserve(count);
    auto add = [&](uint32_t i) {
        switch (sort_by) {
        case SortBy::Name: items.push_back(text_item(i, (*names)(i))); break;
        case SortBy::Type: items.push_back(text_item(i, type_of(i))); break;
        case SortBy::Size:
        case SortBy::Modified: items.push_back(number_item(i, entries[i], sort_by)); break;
        }
    };
    // Folders come first whatever the order, so the two groups are sorted apart.
    for (uint32_t i = 0; i < count; ++i) {
        if (entries[i].is_folder)
            add(i);
    }
    auto folders_end = static_cast<std::ptrdiff_t>(items.size());
    for (uint32_t i = 0; i < count; ++i) {
        if (!entries[i].is_folder)
            add(i);
    }

    int direction = sort_order == SortOrder::Descending ? -1 : 1;
    auto sort_group = [&](auto first, auto last, const auto& compare) {
        std::sort(first, last, [&](const SortItem& a, const SortItem& b) {
            int c = compare(a, b) * direction;
            return c != 0 ? c < 0 : a.index < b.index;
        });
    };
    auto sort_both = [&](const auto& compare) {
        sort_group(items.begin(), items.begin() + folders_end, compare);
        sort_group(items.begin() + folders_end, items.end(), compare);
    };
    switch (sort_by) {
    case SortBy::Name: sort_both([&](const SortItem& a, const SortItem& b) { return compare_text(a, b, *names); }); break;
    case SortBy::Type: sort_both([&](const SortItem& a, const SortItem& b) { return compare_text(a, b, type_of); }); break;
    case SortBy::Size:
    case SortBy::Modified: sort_both(compare_numbers); break;
    }

    std::vector<uint32_t> order(count);
    for (uint32_t i = 0; i < count; ++i)
        order[i] = items[i].index;
    apply_order(entries, order);
}

}
