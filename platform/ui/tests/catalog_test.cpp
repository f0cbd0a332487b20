#include "kavo_ui/catalog.hpp"

#include <gtest/gtest.h>

using namespace kavo_ui;

namespace {

constexpr std::string_view k_en = R"(# Header line one.
# Header line two.

greeting = Hello, { $name }!

## Counts

item-count = { $count } { $count ->
        [one] item
       *[other] items
    }
exact = { $count ->
        [0] nothing
        [one] one thing
       *[other] { $count } things
    }
multi =
    First line
    second line
)";

constexpr std::string_view k_de = R"(# Kopf.

greeting = Hallo, { $name }!
item-count = { $count } { $count ->
        [one] Objekt
       *[other] Objekte
    }
)";

const CatalogSource k_sources[] = {{"en-US", k_en}, {"de-DE", k_de}};
CatalogDescriptor descriptor() { return {"en-US", k_sources}; }

}

TEST(Fluent, ParsesSectionsHeadersAndSelectors)
{
    auto resource = fluent::parse(k_en);
    ASSERT_TRUE(resource) << resource.error().line << ": " << resource.error().message;
    ASSERT_EQ(resource->messages.size(), 4u);
    EXPECT_EQ(resource->header_comments, (std::vector<std::string>{"Header line one.", "Header line two."}));
    EXPECT_EQ(resource->messages[0].section, "");
    EXPECT_EQ(resource->messages[1].section, "Counts");
    EXPECT_EQ(fluent::variables_of(resource->messages[1].pattern), std::vector<std::string>{"count"});
    EXPECT_EQ(fluent::selector_keys_of(resource->messages[1].pattern),
              (std::vector<std::vector<std::string>>{{"one", "*other"}}));
}

TEST(Fluent, SyntaxErrorsNameTheLine)
{
    struct Case {
        const char* source;
        size_t line;
    } cases[] = {
        {"ok = fine\nbroken\n", 2},
        {"a = { $x \n", 1},
        {"a = x\nb = { $n ->\n    [one] one\n    [other] many\n  }\n", 5},  // no default variant, found at the "}"
        {"a = x\na = y\n", 2},
        {"a = one } two\n", 1},
        {"a = { -term }\n", 1},
        {"  indented = x\n", 1},
        {"a =\n\nb = x\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        auto r = fluent::parse(c.source);
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error().line, c.line) << r.error().message;
    }
}

TEST(EmbeddedCatalog, PluralsFollowTheLocale)
{
    for (const char* locale : {"en-US", "de-DE"}) {
        SCOPED_TRACE(locale);
        EmbeddedCatalog catalog(descriptor(), locale);
        bool de = std::string_view(locale) == "de-DE";
        EXPECT_EQ(catalog.t_args("item-count", {{"count", int64_t(1)}}), de ? "1 Objekt" : "1 item");
        EXPECT_EQ(catalog.t_args("item-count", {{"count", int64_t(0)}}), de ? "0 Objekte" : "0 items");
        EXPECT_EQ(catalog.t_args("item-count", {{"count", int64_t(2)}}), de ? "2 Objekte" : "2 items");
        EXPECT_EQ(catalog.t_args("item-count", {{"count", int64_t(1234)}}), de ? "1.234 Objekte" : "1,234 items");
    }
}

TEST(EmbeddedCatalog, ExactKeysWinAndMultilineBodiesKeepTheirLines)
{
    EmbeddedCatalog catalog(descriptor(), "en-US");
    EXPECT_EQ(catalog.t_args("exact", {{"count", int64_t(0)}}), "nothing");
    EXPECT_EQ(catalog.t_args("exact", {{"count", int64_t(1)}}), "one thing");
    EXPECT_EQ(catalog.t_args("exact", {{"count", int64_t(7)}}), "7 things");
    EXPECT_EQ(catalog.t("multi"), "First line\nsecond line");
}

TEST(EmbeddedCatalog, MissingKeysAndVariablesNeverFail)
{
    EmbeddedCatalog catalog(descriptor(), "en-US");
    EXPECT_EQ(catalog.t("no-such-key"), "no-such-key");
    EXPECT_EQ(catalog.t("greeting"), "Hello, {$name}!");
    // A selector without its variable takes the default branch.
    EXPECT_EQ(catalog.t("item-count"), "{$count} items");
}

TEST(EmbeddedCatalog, UnknownLocalesUseFallbackTextsButTheirOwnNumbers)
{
    EmbeddedCatalog fr(descriptor(), "fr-FR");
    EXPECT_EQ(fr.text_locale(), "en-US");
    EXPECT_EQ(fr.locale(), "fr-FR");
    EXPECT_EQ(fr.t_args("item-count", {{"count", int64_t(1234)}}), "1\u202f234 items");

    EmbeddedCatalog at(descriptor(), "de-AT");
    EXPECT_EQ(at.text_locale(), "de-DE");

    for (const char* bad : {"", "!!", "x"}) {
        SCOPED_TRACE(bad);
        EmbeddedCatalog c(descriptor(), bad);
        EXPECT_EQ(c.locale(), "en-US");
        EXPECT_EQ(c.text_locale(), "en-US");
    }
}

TEST(Locale, PosixValuesBecomeLanguageTags)
{
    const std::pair<const char*, const char*> cases[] = {
        {"de_DE.UTF-8", "de-DE"}, {"fr_FR", "fr-FR"}, {"en_US.UTF-8@euro", "en-US"}, {"de", "de"},
        {"C", ""},           {"POSIX", ""},       {"C.UTF-8", ""},           {"de-DE", "de-DE"},
    };
    for (auto [posix, tag] : cases) {
        SCOPED_TRACE(posix);
        EXPECT_EQ(locale_tag_from_posix(posix), tag);
    }
}
