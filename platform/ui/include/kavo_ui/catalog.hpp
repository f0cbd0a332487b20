#pragma once

#include <cstdint>
#include <expected>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kavo_ui {

// One locale's Fluent source.
struct CatalogSource {
    std::string_view locale;
    std::string_view source;
};

struct CatalogDescriptor {
    std::string_view fallback_locale;
    std::span<const CatalogSource> sources;
};

// A variable's value: text is placed as it is, numbers are formatted for the locale and drive
// plural selection.
using CatalogValue = std::variant<std::string, int64_t, double>;
struct CatalogArg {
    std::string name;
    CatalogValue value;
};
using CatalogArgs = std::vector<CatalogArg>;

// The parsed form of a Fluent source, as far as the catalogs use the syntax: messages with text,
// variable references and plural selectors; comments and section comments.
namespace fluent {

struct Pattern;
struct VariableRef {
    std::string name;
};
struct Variant {
    std::string key;
    std::shared_ptr<const Pattern> value;
};
struct Select {
    std::string variable;
    std::vector<Variant> variants;
    size_t default_index = 0;
};
using Element = std::variant<std::string, VariableRef, Select>;
struct Pattern {
    std::vector<Element> elements;
};

struct Message {
    std::string key;
    Pattern pattern;
    std::string section;  // the "## " comment the message stands under
    size_t line = 0;
};

struct Resource {
    std::vector<Message> messages;  // in source order
    std::vector<std::string> header_comments;  // the "# " lines before the first message or section
};

struct ParseError {
    size_t line;
    std::string message;
};

std::expected<Resource, ParseError> parse(std::string_view source);

// Variable names a pattern refers to (selectors included), and the variant keys of its selectors.
std::vector<std::string> variables_of(const Pattern& pattern);
std::vector<std::vector<std::string>> selector_keys_of(const Pattern& pattern);

}

// A message catalog compiled into the program, resolved for one locale.
class EmbeddedCatalog {
public:
    // locale_tag is what the system reports (a BCP 47 tag, or empty). Texts come from the source
    // whose language matches, else the fallback; numbers and plurals follow the tag itself when
    // it names a locale ICU knows. A source that does not parse is skipped with a logged error.
    EmbeddedCatalog(const CatalogDescriptor& descriptor, std::string locale_tag);
    ~EmbeddedCatalog();
    EmbeddedCatalog(const EmbeddedCatalog&) = delete;
    EmbeddedCatalog& operator=(const EmbeddedCatalog&) = delete;

    // A missing key yields the key itself (and one warning in the log); a missing variable
    // yields "{$name}".
    std::string t(std::string_view key) const;
    std::string t_args(std::string_view key, const CatalogArgs& args) const;
    bool has(std::string_view key) const;

    // The locale that formats values (the reported tag, or the fallback when it does not parse).
    const std::string& locale() const;
    // The locale whose texts are used.
    const std::string& text_locale() const;

    // Locale-aware number text ("1,234.5" in en-US, "1.234,5" in de-DE).
    std::string format_number(int64_t value) const;
    std::string format_decimal(double value, int fraction_digits) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// The locale the user asked for: KAVO_UI_LOCALE, else LC_ALL, LC_MESSAGES, LANG; POSIX forms
// such as de_DE.UTF-8 become de-DE. "C", "POSIX" and unparsable values give an empty tag.
std::string current_locale();
// The conversion current_locale applies to one value.
std::string locale_tag_from_posix(std::string_view value);

}
