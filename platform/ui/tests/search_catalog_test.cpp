#include "kavo_ui/search_catalog.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kavo_ui {

// How many entries the last query had to look at, so a test can tell an index lookup from a scan.
class SearchCatalogTestApi {
public:
    static size_t last_visited(const SearchCatalog& catalog)
    {
        std::lock_guard lock(catalog.m_mutex);
        return catalog.m_last_visited;
    }
};

}

using namespace kavo_ui;

namespace {

SearchEntry entry(std::string key, std::string title, std::string detail = {}, std::string provider = "files")
{
    return {std::move(provider), std::move(key), std::move(title), std::move(detail), "Files", Icon::File,
            "files.record/reveal"};
}

std::vector<std::string> keys_found(const SearchCatalog& catalog, std::string_view query, size_t limit = 50)
{
    auto page = catalog.query_page(query, limit);
    EXPECT_TRUE(page) << page.error();
    std::vector<std::string> keys;
    for (const auto& e : page ? page->entries : std::vector<SearchEntry>{})
        keys.push_back(e.key);
    return keys;
}

}

TEST(SearchText, FoldsCaseAccentsAndCompatibilityForms)
{
    struct Case {
        const char* text;
        const char* folded;
    };
    const Case cases[] = {
        {"Résumé", "resume"},
        {"RÉSUMÉ", "resume"},
        {"Re\u0301sume\u0301", "resume"},
        {"Straße", "strasse"},
        {"İstanbul", "istanbul"},
        {"Ångström", "angstrom"},
        {"\uFB01le", "file"},
        {"  two \t  words\n", "two words"},
        {"日本語", "日本語"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(normalize_search_text(c.text), c.folded);
    }
}

TEST(SearchText, WordsAndTrigrams)
{
    auto words = index_tokens(normalize_search_text("Annual_Report-2023.pdf, de l'été"));
    EXPECT_EQ(words, (std::vector<std::string>{"annual", "report", "2023", "pdf", "de", "l", "ete"}));
    std::vector<std::string> two{"abcd", "xé"};
    EXPECT_EQ(index_grams(two), (std::vector<std::string>{"abc", "bcd"}));
    std::vector<std::string> wide{"日本語だ"};
    EXPECT_EQ(index_grams(wide), (std::vector<std::string>{"日本語", "本語だ"})) << "characters, not bytes";
    EXPECT_EQ(index_prefixes(two), (std::vector<std::string>{"a", "ab", "x", "xé"}));
}

TEST(SearchCatalog, RanksExactThenPrefixThenTitleThenDetail)
{
    SearchCatalog catalog;
    catalog.upsert(entry("notes", "Notes", "/docs/report/notes.txt"));
    catalog.upsert(entry("annual", "Annual report"));
    catalog.upsert(entry("reporter", "Reporter"));
    catalog.upsert(entry("dated", "report-2023.pdf"));
    catalog.upsert(entry("exact", "Report"));
    catalog.upsert(entry("other", "Repo"));
    catalog.upsert(entry("same-b", "Annual report"));
    EXPECT_EQ(keys_found(catalog, "report"),
              (std::vector<std::string>{"exact", "dated", "reporter", "annual", "same-b", "notes"}));
    EXPECT_EQ(keys_found(catalog, "REPORT 2023"), (std::vector<std::string>{"dated"})) << "every word must match";
    EXPECT_EQ(keys_found(catalog, "report.pdf"), (std::vector<std::string>{"dated"}));
    EXPECT_EQ(keys_found(catalog, "nual"), (std::vector<std::string>{"annual", "same-b"})) << "substrings";
    EXPECT_EQ(keys_found(catalog, "re"),
              (std::vector<std::string>{"other", "exact", "dated", "reporter", "annual", "same-b", "notes"}))
        << "short words match word beginnings";
    EXPECT_TRUE(keys_found(catalog, "po").empty()) << "not inside words";
    EXPECT_TRUE(keys_found(catalog, "  ").empty());
}

TEST(SearchCatalog, FindsAcrossCaseAndAccents)
{
    SearchCatalog catalog;
    catalog.upsert(entry("cv", "Résumé.pdf"));
    catalog.upsert(entry("street", "STRASSE"));
    for (const char* query : {"resume", "RESUME", "résumé", "Re\u0301sume\u0301"}) {
        SCOPED_TRACE(query);
        EXPECT_EQ(keys_found(catalog, query), (std::vector<std::string>{"cv"}));
    }
    EXPECT_EQ(keys_found(catalog, "straße"), (std::vector<std::string>{"street"}));
}

TEST(SearchCatalog, UpsertReplacesAndRemovalForgets)
{
    SearchCatalog catalog;
    catalog.add_provider("files", "Files");
    catalog.add_provider("places", "Places");
    catalog.upsert(entry("a", "Holiday photos"));
    catalog.upsert(entry("b", "Holiday plans"));
    catalog.upsert(entry("home", "Holiday folder", "", "places"));
    catalog.upsert(entry("a", "Tax return"));
    EXPECT_EQ(keys_found(catalog, "holiday"), (std::vector<std::string>{"home", "b"}));
    EXPECT_EQ(keys_found(catalog, "tax"), (std::vector<std::string>{"a"}));

    EXPECT_TRUE(catalog.remove("files", "b"));
    EXPECT_FALSE(catalog.remove("files", "b"));
    EXPECT_FALSE(catalog.remove("places", "a")) << "keys belong to their provider";
    EXPECT_EQ(keys_found(catalog, "holiday"), (std::vector<std::string>{"home"}));

    catalog.upsert(entry("c", "Holiday again"));
    EXPECT_EQ(catalog.remove_provider_entries("files"), 2u);
    EXPECT_EQ(keys_found(catalog, "holiday"), (std::vector<std::string>{"home"}));
    EXPECT_TRUE(keys_found(catalog, "tax").empty());
    auto stats = catalog.stats();
    EXPECT_EQ(stats.entries, 1u);
    EXPECT_EQ(stats.providers, 2u);
    EXPECT_EQ(catalog.provider_title("places"), "Places");
}

TEST(SearchCatalog, CursorsPageUntilTheCatalogChanges)
{
    SearchCatalog catalog;
    for (int i = 0; i < 5; ++i)
        catalog.upsert(entry(fmt::format("k{}", i), fmt::format("Invoice {}", i)));
    auto first = catalog.query_page("invoice", 2);
    ASSERT_TRUE(first && first->next_cursor);
    EXPECT_EQ(first->entries.size(), 2u);
    auto second = catalog.query_page("invoice", 2, *first->next_cursor);
    ASSERT_TRUE(second && second->next_cursor) << (second ? "" : second.error());
    EXPECT_EQ(second->entries[0].key, "k2");
    auto third = catalog.query_page("invoice", 2, *second->next_cursor);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->entries.size(), 1u);
    EXPECT_FALSE(third->next_cursor);

    EXPECT_FALSE(catalog.query_page("receipt", 2, *first->next_cursor)) << "a cursor of another query";
    EXPECT_FALSE(catalog.query_page("invoice", 2, "garbage"));
    EXPECT_FALSE(catalog.cursor_is_current("garbage"));

    std::string cursor = *first->next_cursor;
    catalog.upsert(entry("k1", "Invoice 1"));
    EXPECT_TRUE(catalog.cursor_is_current(cursor)) << "publishing the same entry again changes nothing";
    uint64_t generation = catalog.stats().generation;
    catalog.upsert(entry("k9", "Invoice 9"));
    EXPECT_GT(catalog.stats().generation, generation);
    EXPECT_FALSE(catalog.cursor_is_current(cursor));
    auto stale = catalog.query_page("invoice", 2, cursor);
    ASSERT_FALSE(stale);
    EXPECT_NE(stale.error().find("changed"), std::string::npos);
    EXPECT_FALSE(catalog.cursor_is_current(cursor)) << "asking again does not revive it";
}

TEST(SearchCatalog, ALargeCatalogIsQueriedThroughItsIndex)
{
    constexpr int k_entries = 100'000;
    SearchCatalog catalog;
    for (int i = 0; i < k_entries; ++i)
        catalog.upsert(entry(fmt::format("{}", i), fmt::format("photo {:06}.jpg", i),
                             fmt::format("/pictures/{}/album {}", 2000 + i % 25, i % 700)));
    ASSERT_EQ(catalog.stats().entries, size_t(k_entries));

    auto found = keys_found(catalog, "photo 042917");
    EXPECT_EQ(found, (std::vector<std::string>{"42917"}));
    EXPECT_LT(SearchCatalogTestApi::last_visited(catalog), size_t(k_entries / 100));

    found = keys_found(catalog, "2017 album 617");
    ASSERT_FALSE(found.empty());
    EXPECT_LT(SearchCatalogTestApi::last_visited(catalog), size_t(k_entries / 10));

    EXPECT_EQ(catalog.remove_provider_entries("files"), size_t(k_entries));
    EXPECT_TRUE(keys_found(catalog, "photo").empty());
}

TEST(SearchCatalog, PublishersAndSearchersShareItAcrossThreads)
{
    SearchCatalog catalog;
    std::atomic<bool> done = false;
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i) {
            catalog.upsert(entry(fmt::format("{}", i), fmt::format("shared item {}", i)));
            if (i % 3 == 0)
                catalog.remove("files", fmt::format("{}", i / 2));
        }
        done = true;
    });
    size_t pages = 0, torn = 0;
    while (!done) {
        auto page = catalog.query_page("shared item", 500);
        for (const auto& e : page ? page->entries : std::vector<SearchEntry>{})
            torn += !e.title.starts_with("shared item ") || e.key != e.title.substr(12);
        pages += page.has_value();
    }
    writer.join();
    EXPECT_GT(pages, 0u);
    EXPECT_EQ(torn, 0u);
    auto last = catalog.query_page("item 1999", 5);
    ASSERT_TRUE(last);
    ASSERT_EQ(last->entries.size(), 1u);
    EXPECT_EQ(last->entries[0].key, "1999");
}

TEST(SearchCatalog, PagesAsJsonForTheAutomationEndpoint)
{
    SearchCatalog catalog;
    catalog.upsert(entry("a", "Plan A", "/w/plan-a"));
    catalog.upsert(entry("b", "Plan B", "/w/plan-b"));
    auto page = catalog.query_page("plan", 1);
    ASSERT_TRUE(page);
    auto json = to_json(*page);
    ASSERT_EQ(json["entries"].size(), 1u);
    EXPECT_EQ(json["entries"][0].dump(),
              R"({"provider":"files","title":"Plan A","detail":"/w/plan-a","provenance":"Files","icon":"file","action":"files.record/reveal"})");
    EXPECT_TRUE(json["next_cursor"].is_string());
    EXPECT_TRUE(to_json(SearchPage{})["next_cursor"].is_null());
}
