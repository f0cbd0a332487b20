#include "i18n/catalog.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace fluent = kavo_ui::fluent;

namespace {

constexpr size_t k_en = 0;
constexpr size_t k_de = 1;

fluent::Resource parse_source(size_t index)
{
    const auto& source = files::i18n::descriptor().sources[index];
    auto resource = fluent::parse(source.source);
    if (!resource) {
        ADD_FAILURE() << source.locale << ".ftl line " << resource.error().line << ": " << resource.error().message;
        return {};
    }
    return std::move(*resource);
}

const fluent::Select* first_select(const fluent::Pattern& pattern)
{
    for (const auto& element : pattern.elements)
        if (auto* select = std::get_if<fluent::Select>(&element))
            return select;
    return nullptr;
}

std::string replace_all(std::string text, const std::string& from, std::string_view to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}

TEST(CatalogContent, BothSourcesParseInDescriptorOrder)
{
    auto descriptor = files::i18n::descriptor();
    EXPECT_EQ(descriptor.fallback_locale, "en-US");
    ASSERT_EQ(descriptor.sources.size(), 2u);
    EXPECT_EQ(descriptor.sources[k_en].locale, "en-US");
    EXPECT_EQ(descriptor.sources[k_de].locale, "de-DE");
    for (size_t i = 0; i < descriptor.sources.size(); ++i) {
        auto resource = fluent::parse(descriptor.sources[i].source);
        if (!resource)
            ADD_FAILURE() << descriptor.sources[i].locale << ".ftl line " << resource.error().line << ": "
                          << resource.error().message;
    }
}

TEST(CatalogContent, SourceLocaleHasItsKeysSectionsAndHeader)
{
    auto en = parse_source(k_en);
    EXPECT_EQ(en.header_comments, (std::vector<std::string>{
                                      "Files — source locale (en-US).",
                                      "Collaboration, availability, history and received-share surfaces are the",
                                      "first migrated tranche. Variables are data, never preformatted Fluent source.",
                                  }));
    ASSERT_EQ(en.messages.size(), 426u);
    EXPECT_EQ(en.messages.front().key, "files-time-unknown");

    std::set<std::string> keys;
    for (const auto& m : en.messages) {
        EXPECT_TRUE(m.key.starts_with("files-")) << m.key;
        EXPECT_TRUE(keys.insert(m.key).second) << "duplicate " << m.key;
    }

    // Sections in source order with the number of keys each holds.
    const std::vector<std::pair<std::string, size_t>> expected_sections = {
        {"", 1},
        {"Keyboard shortcuts", 13},
        {"Availability actions and status", 31},
        {"Properties and availability sheet", 25},
        {"Sharing", 56},
        {"History and conflict resolution", 73},
        {"Accessible collaborative state", 15},
        {"Service and received-share errors/status", 40},
        {"Application chrome and navigation", 21},
        {"List, empty/error state and accessibility", 31},
        {"Properties", 12},
        {"Ordinary operation results", 28},
        {"Context, view and sort menus", 31},
        {"Archives", 12},
        {"File-operation validation", 37},
    };
    std::vector<std::pair<std::string, size_t>> sections;
    for (const auto& m : en.messages) {
        if (sections.empty() || sections.back().first != m.section)
            sections.push_back({m.section, 0});
        ++sections.back().second;
    }
    EXPECT_EQ(sections, expected_sections);
}

TEST(CatalogContent, GermanMatchesTheSourceStructurally)
{
    auto en = parse_source(k_en);
    auto de = parse_source(k_de);
    ASSERT_FALSE(de.header_comments.empty());
    EXPECT_NE(de.header_comments.front().find("en-US.ftl"), std::string::npos);
    ASSERT_EQ(de.messages.size(), en.messages.size());
    for (size_t i = 0; i < en.messages.size(); ++i) {
        const auto& e = en.messages[i];
        const auto& d = de.messages[i];
        SCOPED_TRACE(e.key + " (de-DE.ftl line " + std::to_string(d.line) + ")");
        ASSERT_EQ(d.key, e.key);
        EXPECT_EQ(d.section, e.section);
        EXPECT_EQ(fluent::variables_of(d.pattern), fluent::variables_of(e.pattern));
        EXPECT_EQ(fluent::selector_keys_of(d.pattern), fluent::selector_keys_of(e.pattern));
    }
}

TEST(CatalogContent, TellingRowsRenderExactly)
{
    using kavo_ui::CatalogArgs;
    using files::i18n::arg;
    using files::i18n::count_arg;
    struct Row {
        const char* locale;
        const char* key;
        CatalogArgs args;
        const char* expected;
    };
    const Row rows[] = {
        {"en-US", "files-app-title", {}, "Files"},
        {"en-US", "files-time-unknown", {}, "unknown time"},
        {"en-US", "files-item-count", {count_arg("count", 1)}, "1 item"},
        {"en-US", "files-item-count", {count_arg("count", 5)}, "5 items"},
        {"en-US", "files-selected-count", {arg("base", "5 items"), count_arg("count", 2)}, "5 items  ·  2 selected"},
        {"en-US", "files-empty-trash-summary", {count_arg("count", 1)}, "1 item will be removed from Trash."},
        {"en-US", "files-empty-trash-summary", {count_arg("count", 3)}, "All 3 items will be removed from Trash."},
        {"en-US", "files-undo-trash-restored", {count_arg("count", 1)}, "Restored 1 item"},
        {"en-US", "files-undo-trash-restored", {count_arg("count", 4)}, "Restored 4 items"},
        {"en-US", "files-archive-extracted", {count_arg("count", 1)}, "Extracted 1 file"},
        {"en-US", "files-archive-extracted", {count_arg("count", 2)}, "Extracted 2 files"},
        {"en-US", "files-share-invalid-uses", {}, "Share links require a use limit from 1 to 1,000"},
        {"en-US", "files-merge-review-checking-detail", {},
         "Kavo is comparing both changes with their shared base. Nothing is changed while this runs."},
        {"en-US", "files-a11y-panel-details", {arg("title", "Trash"), arg("summary", "3 items"), arg("details", "a. b")},
         "Trash. 3 items. a. b. Press Escape to close"},
        {"en-US", "files-place-favourites", {}, "Favourites"},
        {"en-US", "files-place-favorites", {}, "Favorites"},
        {"en-US", "files-menu-new-file", {}, "New File  ›"},
        {"en-US", "files-new-folder-default-name", {}, "New Folder"},
        {"de-DE", "files-new-folder-default-name", {}, "Neuer Ordner"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.locale) + " " + row.key);
        kavo_ui::EmbeddedCatalog catalog(files::i18n::descriptor(), row.locale);
        ASSERT_TRUE(catalog.has(row.key));
        EXPECT_EQ(catalog.t_args(row.key, row.args), row.expected);
    }

    kavo_ui::EmbeddedCatalog en(files::i18n::descriptor(), "en-US");
    EXPECT_TRUE(en.t("files-merge-review-guard").starts_with("Kavo rechecks the exact base and both revisions"));

    // The extracted-files message is nothing but its selector.
    auto resource = parse_source(k_en);
    for (const auto& m : resource.messages)
        if (m.key == "files-archive-extracted") {
            ASSERT_EQ(m.pattern.elements.size(), 1u);
            EXPECT_TRUE(std::holds_alternative<fluent::Select>(m.pattern.elements.front()));
        }
}

// For every plural message of both locales, 1 takes its own branch while 0 and 2 share the
// default one; the item count is checked against its branch texts word for word.
TEST(CatalogContent, PluralBranchesFollowTheCountInBothLocales)
{
    for (size_t index : {k_en, k_de}) {
        std::string locale(files::i18n::descriptor().sources[index].locale);
        kavo_ui::EmbeddedCatalog catalog(files::i18n::descriptor(), locale);
        ASSERT_EQ(catalog.text_locale(), locale);
        auto resource = parse_source(index);
        size_t plural_messages = 0;
        for (const auto& m : resource.messages) {
            const auto* select = first_select(m.pattern);
            if (!select)
                continue;
            ++plural_messages;
            SCOPED_TRACE(locale + " " + m.key);
            auto render = [&](int64_t n) {
                return replace_all(catalog.t_args(m.key, {{select->variable, n}}), std::to_string(n), "#");
            };
            EXPECT_EQ(render(0), render(2));
            EXPECT_NE(render(1), render(2));

            if (m.key == "files-item-count") {
                auto branch = [&](std::string_view key) {
                    for (const auto& v : select->variants)
                        if (v.key == key && v.value->elements.size() == 1)
                            return std::get<std::string>(v.value->elements.front());
                    return std::string("(no plain branch ") + std::string(key) + ")";
                };
                EXPECT_EQ(catalog.t_args(m.key, {files::i18n::count_arg("count", 1)}), "1 " + branch("one"));
                EXPECT_EQ(catalog.t_args(m.key, {files::i18n::count_arg("count", 0)}), "0 " + branch("other"));
                EXPECT_EQ(catalog.t_args(m.key, {files::i18n::count_arg("count", 2)}), "2 " + branch("other"));
            }
        }
        EXPECT_GT(plural_messages, 0u);
    }
}
