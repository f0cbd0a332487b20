#include "kavo_ui/catalog.hpp"

#include <spdlog/spdlog.h>
#include <unicode/locid.h>
#include <unicode/numberformatter.h>
#include <unicode/plurrule.h>

#include <mutex>
#include <optional>
#include <set>
#include <unordered_map>

namespace kavo_ui {

namespace {

std::string language_of(std::string_view tag) { return std::string(tag.substr(0, tag.find('-'))); }

// A tag ICU can make a locale of (well-formed BCP 47 with a known language), canonicalised.
std::optional<icu::Locale> parse_tag(const std::string& tag)
{
    if (tag.empty())
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale = icu::Locale::forLanguageTag(tag, status);
    if (U_FAILURE(status) || locale.isBogus() || std::string_view(locale.getLanguage()).empty())
        return std::nullopt;
    return locale;
}

}

struct EmbeddedCatalog::Impl {
    std::string locale;
    std::string text_locale;
    icu::Locale icu_locale;
    std::unordered_map<std::string, fluent::Pattern> messages;
    std::unique_ptr<icu::PluralRules> plural_rules;
    std::optional<icu::number::LocalizedNumberFormatter> number_format;
    mutable std::mutex warned_mutex;
    mutable std::set<std::string, std::less<>> warned;

    std::string format(const CatalogValue& value) const
    {
        if (auto* s = std::get_if<std::string>(&value))
            return *s;
        UErrorCode status = U_ZERO_ERROR;
        if (number_format) {
            icu::UnicodeString text = std::holds_alternative<int64_t>(value)
                ? number_format->formatInt(std::get<int64_t>(value), status).toString(status)
                : number_format->formatDouble(std::get<double>(value), status).toString(status);
            if (U_SUCCESS(status)) {
                std::string out;
                text.toUTF8String(out);
                return out;
            }
        }
        return std::holds_alternative<int64_t>(value) ? std::to_string(std::get<int64_t>(value))
                                                      : std::to_string(std::get<double>(value));
    }

    std::string plural_category(const CatalogValue& value) const
    {
        if (!plural_rules)
            return "other";
        double n = std::holds_alternative<int64_t>(value) ? double(std::get<int64_t>(value)) : std::get<double>(value);
        std::string out;
        plural_rules->select(n).toUTF8String(out);
        return out;
    }

    void render(const fluent::Pattern& pattern, const CatalogArgs& args, std::string& out) const
    {
        auto find = [&](const std::string& name) -> const CatalogValue* {
            for (const auto& a : args)
                if (a.name == name)
                    return &a.value;
            return nullptr;
        };
        for (const auto& element : pattern.elements) {
            if (auto* text = std::get_if<std::string>(&element)) {
                out += *text;
            } else if (auto* ref = std::get_if<fluent::VariableRef>(&element)) {
                if (const CatalogValue* v = find(ref->name))
                    out += format(*v);
                else
                    out += "{$" + ref->name + "}";
            } else if (auto* select = std::get_if<fluent::Select>(&element)) {
                const fluent::Pattern* chosen = select->variants[select->default_index].value.get();
                if (const CatalogValue* v = find(select->variable)) {
                    // An exact key ("0", "1") wins over the plural category, as in Fluent.
                    std::string exact = std::holds_alternative<std::string>(*v) ? std::get<std::string>(*v) : format_plain(*v);
                    std::string category = std::holds_alternative<std::string>(*v) ? std::string() : plural_category(*v);
                    const fluent::Pattern* by_category = nullptr;
                    const fluent::Pattern* by_exact = nullptr;
                    for (const auto& variant : select->variants) {
                        if (variant.key == exact)
                            by_exact = variant.value.get();
                        else if (!category.empty() && variant.key == category)
                            by_category = variant.value.get();
                    }
                    if (by_exact)
                        chosen = by_exact;
                    else if (by_category)
                        chosen = by_category;
                }
                render(*chosen, args, out);
            }
        }
    }

    static std::string format_plain(const CatalogValue& v)
    {
        if (auto* i = std::get_if<int64_t>(&v))
            return std::to_string(*i);
        double d = std::get<double>(v);
        if (d == double(int64_t(d)))
            return std::to_string(int64_t(d));
        return std::to_string(d);
    }
};

EmbeddedCatalog::EmbeddedCatalog(const CatalogDescriptor& descriptor, std::string locale_tag)
    : m_impl(std::make_unique<Impl>())
{
    auto parsed = parse_tag(locale_tag);
    if (!parsed) {
        locale_tag = std::string(descriptor.fallback_locale);
        parsed = parse_tag(locale_tag);
    }
    m_impl->locale = locale_tag;
    m_impl->icu_locale = parsed.value_or(icu::Locale::getRoot());

    const CatalogSource* chosen = nullptr;
    const CatalogSource* fallback = nullptr;
    for (const auto& source : descriptor.sources) {
        if (source.locale == descriptor.fallback_locale)
            fallback = &source;
        if (!chosen && language_of(source.locale) == m_impl->icu_locale.getLanguage())
            chosen = &source;
    }
    if (!chosen)
        chosen = fallback;
    if (chosen) {
        m_impl->text_locale = std::string(chosen->locale);
        auto resource = fluent::parse(chosen->source);
        if (!resource) {
            spdlog::error("catalog {}: line {}: {}", chosen->locale, resource.error().line, resource.error().message);
        } else {
            for (auto& message : resource->messages)
                m_impl->messages.emplace(message.key, std::move(message.pattern));
        }
    }

    UErrorCode status = U_ZERO_ERROR;
    m_impl->plural_rules.reset(icu::PluralRules::forLocale(m_impl->icu_locale, status));
    if (U_FAILURE(status))
        m_impl->plural_rules.reset();
    m_impl->number_format = icu::number::NumberFormatter::withLocale(m_impl->icu_locale);
}

EmbeddedCatalog::~EmbeddedCatalog() = default;

bool EmbeddedCatalog::has(std::string_view key) const { return m_impl->messages.contains(std::string(key)); }

std::string EmbeddedCatalog::t(std::string_view key) const { return t_args(key, {}); }

std::string EmbeddedCatalog::t_args(std::string_view key, const CatalogArgs& args) const
{
    auto it = m_impl->messages.find(std::string(key));
    if (it == m_impl->messages.end()) {
        std::lock_guard lock(m_impl->warned_mutex);
        if (m_impl->warned.insert(std::string(key)).second)
            spdlog::warn("catalog: no message {}", key);
        return std::string(key);
    }
    std::string out;
    m_impl->render(it->second, args, out);
    return out;
}

const std::string& EmbeddedCatalog::locale() const { return m_impl->locale; }
const std::string& EmbeddedCatalog::text_locale() const { return m_impl->text_locale; }

std::string EmbeddedCatalog::format_number(int64_t value) const { return m_impl->format(value); }

std::string EmbeddedCatalog::format_decimal(double value, int fraction_digits) const
{
    UErrorCode status = U_ZERO_ERROR;
    auto formatted = m_impl->number_format
                         ->precision(icu::number::Precision::fixedFraction(fraction_digits))
                         .formatDouble(value, status)
                         .toString(status);
    if (U_FAILURE(status))
        return std::to_string(value);
    std::string out;
    formatted.toUTF8String(out);
    return out;
}

}
