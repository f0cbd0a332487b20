#include "model/sorting.hpp"

#include <gtest/gtest.h>

#include <unicode/bytestream.h>
#include <unicode/casemap.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using files::model::DirectoryEntry;
using files::model::EntryList;
using files::model::LocalDateTime;
using files::model::sort_entries;
using files::model::SortBy;
using files::model::SortOrder;

struct Item {
    std::string name;
    bool is_folder = false;
    uint64_t size = 0;
    std::optional<LocalDateTime> modified;
    std::string mime_type = "application/octet-stream";
};

EntryList make_entries(const std::vector<Item>& items)
{
    EntryList entries;
    for (const auto& item : items) {
        DirectoryEntry e;
        e.name = item.name;
        e.path = "/folder/" + item.name;
        e.is_folder = item.is_folder;
        e.size = item.size;
        e.modified = item.modified;
        e.mime_type = item.mime_type;
        entries.push_back(std::move(e));
    }
    return entries;
}

std::vector<std::string> names_of(const EntryList& entries)
{
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(e.name);
    return names;
}

Item file(std::string name)
{
    Item item;
    item.name = std::move(name);
    return item;
}
Item folder(std::string name)
{
    Item item = file(std::move(name));
    item.is_folder = true;
    return item;
}
Item sized(std::string name, uint64_t size, bool is_folder = false)
{
    Item item = file(std::move(name));
    item.size = size;
    item.is_folder = is_folder;
    return item;
}
Item timed(std::string name, std::optional<LocalDateTime> t)
{
    Item item = file(std::move(name));
    item.modified = t;
    return item;
}
Item typed(std::string name, std::string mime)
{
    Item item = file(std::move(name));
    item.mime_type = std::move(mime);
    return item;
}
LocalDateTime at(int64_t seconds, uint32_t nanoseconds = 0, int32_t offset = 0) { return {seconds, nanoseconds, offset}; }

struct Case {
    const char* name;
    std::vector<Item> items;  // in listing order
    SortBy sort_by;
    SortOrder order;
    std::vector<std::string> expected;
};

TEST(SortEntries, OrdersByKeyWithFoldersFirstAndTiesInListingOrder)
{
    constexpr auto Asc = SortOrder::Ascending;
    constexpr auto Desc = SortOrder::Descending;
    const uint64_t max = std::numeric_limits<uint64_t>::max();
    const Case cases[] = {
        {"files b, A, a and folder Z, ascending", {file("b"), file("A"), folder("Z"), file("a")}, SortBy::Name, Asc,
         {"Z", "A", "a", "b"}},
        {"files b, A, a and folder Z, descending", {file("b"), file("A"), folder("Z"), file("a")}, SortBy::Name, Desc,
         {"Z", "b", "A", "a"}},
        {"the case tie follows the listing, not the case", {file("b"), file("a"), folder("Z"), file("A")},
         SortBy::Name, Asc, {"Z", "a", "A", "b"}},
        {"folders first in both orders", {file("a.txt"), folder("Zeta"), file("b.txt"), folder("alpha")},
         SortBy::Name, Desc, {"Zeta", "alpha", "b.txt", "a.txt"}},
        {"digits are characters", {file("file2"), file("file10"), file("file1")}, SortBy::Name, Asc,
         {"file1", "file10", "file2"}},
        {"long names differing after sixteen bytes",
         {file("a-very-long-common-prefix-2"), file("A-VERY-LONG-COMMON-PREFIX-10"), file("a-very-long-common-prefix-1"),
          file("abcdefghijklmnopq"), file("ABCDEFGHIJKLMNOP"), file("abcdefghijklmnop")},
         SortBy::Name, Asc,
         {"a-very-long-common-prefix-1", "A-VERY-LONG-COMMON-PREFIX-10", "a-very-long-common-prefix-2",
          "ABCDEFGHIJKLMNOP", "abcdefghijklmnop", "abcdefghijklmnopq"}},
        // Full lower-case mapping of whole strings, then bytes.
        {"capital sharp s lowers to ß", {file("ßb"), file("ẞa")}, SortBy::Name, Asc, {"ẞa", "ßb"}},
        {"İ lowers to i and a combining dot", {file("İ"), file("iz")}, SortBy::Name, Asc, {"iz", "İ"}},
        {"umlauts fold with their base letter", {file("ÄB"), file("äa")}, SortBy::Name, Asc, {"äa", "ÄB"}},
        {"a final capital sigma lowers to ς, tying with ας", {file("ΑΣ"), file("ας")}, SortBy::Name, Asc,
         {"ΑΣ", "ας"}},
        {"the same tie the other way round", {file("ας"), file("ΑΣ")}, SortBy::Name, Asc, {"ας", "ΑΣ"}},
        {"sizes as unsigned numbers", {sized("max", max), sized("five", 5), sized("dir", 4096, true), sized("zero", 0)},
         SortBy::Size, Asc, {"dir", "zero", "five", "max"}},
        {"sizes descending keep ties in order", {sized("a", 7), sized("b", 9), sized("c", 7)}, SortBy::Size, Desc,
         {"b", "a", "c"}},
        {"absent times first ascending",
         {timed("late", at(100)), timed("none1", std::nullopt), timed("early", at(-5)), timed("none2", std::nullopt),
          timed("oldest", at(std::numeric_limits<int64_t>::min()))},
         SortBy::Modified, Asc, {"none1", "none2", "oldest", "early", "late"}},
        {"absent times last descending",
         {timed("none1", std::nullopt), timed("late", at(100)), timed("none2", std::nullopt), timed("early", at(-5))},
         SortBy::Modified, Desc, {"late", "early", "none1", "none2"}},
        {"nanoseconds order within a second; the offset does not count",
         {timed("b", at(100, 2)), timed("a", at(100, 1)), timed("same-instant-other-zone", at(100, 2, 3600))},
         SortBy::Modified, Asc, {"a", "b", "same-instant-other-zone"}},
        {"types byte for byte, case-sensitive",
         {typed("t", "text/plain"), typed("p", "application/pdf"), typed("T", "Text/plain"), typed("t2", "text/plain")},
         SortBy::Type, Asc, {"T", "p", "t", "t2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EntryList entries = make_entries(c.items);
        sort_entries(entries, c.sort_by, c.order);
        EXPECT_EQ(names_of(entries), c.expected);
    }
}

// A plain stable sort with the comparison written out, lower-casing every name through ICU.
EntryList reference_sort(EntryList entries, SortBy sort_by, SortOrder order)
{
    auto lower = [](const std::string& s) {
        std::string out;
        UErrorCode status = U_ZERO_ERROR;
        icu::StringByteSink<std::string> sink(&out);
        icu::CaseMap::utf8ToLower("", 0, s, sink, nullptr, status);
        return out;
    };
    auto key_compare = [&](const DirectoryEntry& a, const DirectoryEntry& b) -> int {
        switch (sort_by) {
        case SortBy::Name: return lower(a.name).compare(lower(b.name));
        case SortBy::Size: return a.size < b.size ? -1 : a.size > b.size ? 1 : 0;
        case SortBy::Modified: {
            if (!a.modified || !b.modified)
                return int(a.modified.has_value()) - int(b.modified.has_value());
            auto ka = std::pair(a.modified->unix_seconds, a.modified->nanoseconds);
            auto kb = std::pair(b.modified->unix_seconds, b.modified->nanoseconds);
            return ka < kb ? -1 : kb < ka ? 1 : 0;
        }
        case SortBy::Type: return a.mime_type.compare(b.mime_type);
        }
        return 0;
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const DirectoryEntry& a, const DirectoryEntry& b) {
        if (a.is_folder != b.is_folder)
            return a.is_folder;
        int c = key_compare(a, b);
        return (order == SortOrder::Descending ? -c : c) < 0;
    });
    return entries;
}

// Many entries with many ties: every field must arrive with its entry, in the reference order.
TEST(SortEntries, MatchesAPlainStableSortOnManyTies)
{
    std::mt19937 random(20240331);
    const std::vector<std::string> pieces = {"a", "A", "b", "ä", "Ä", "ß", "ẞ", "İ", "i", "Σ", "σ", "-", "1", "10",
                                             "2", "long-shared-prefix-", "LONG-SHARED-PREFIX-"};
    // Types with NUL bytes: equal to "text/plain" in the first sixteen bytes once padded.
    const std::vector<std::string> types = {"text/plain", "image/png", "Text/plain", "application/octet-stream",
                                            std::string("text/plain\0\0", 12),
                                            std::string("text/plain\0\0\0\0\0\0x", 17)};
    std::vector<Item> items;
    for (int i = 0; i < 3000; ++i) {
        Item item;
        for (int k = 0, n = 1 + int(random() % 4); k < n; ++k)
            item.name += pieces[random() % pieces.size()];
        item.is_folder = random() % 5 == 0;
        item.size = random() % 4 == 0 ? std::numeric_limits<uint64_t>::max() - random() % 3 : random() % 5;
        if (random() % 3 != 0)
            item.modified = at(int64_t(random() % 5) - 2, random() % 2, int32_t(random() % 3) * 1800);
        item.mime_type = types[random() % types.size()];
        items.push_back(std::move(item));
    }
    EntryList original = make_entries(items);
    for (size_t i = 0; i < original.size(); ++i)
        original[i].path = "/folder/" + std::to_string(i);  // tells equal names apart

    for (SortBy sort_by : {SortBy::Name, SortBy::Size, SortBy::Modified, SortBy::Type}) {
        for (SortOrder order : {SortOrder::Ascending, SortOrder::Descending}) {
            SCOPED_TRACE(std::string(files::model::to_string(sort_by)) + " " + files::model::to_string(order));
            EntryList sorted = original;
            sort_entries(sorted, sort_by, order);
            EntryList expected = reference_sort(original, sort_by, order);
            ASSERT_EQ(sorted.size(), expected.size());
            for (size_t i = 0; i < sorted.size(); ++i)
                ASSERT_EQ(sorted[i], expected[i]) << "position " << i << ": " << sorted[i].path << " instead of "
                                                  << expected[i].path;
        }
    }
}

}
