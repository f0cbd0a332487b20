#include "files_app/placeholder.hpp"

#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"

#include <unicode/unistr.h>

namespace files::app {

namespace {

// Characters here are Unicode code points, so cutting never splits a multi-byte sequence.
std::u32string code_points(std::string_view utf8)
{
    std::u32string out;
    auto s = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), int32_t(utf8.size())));
    out.reserve(size_t(s.length()));
    for (int32_t i = 0; i < s.length();) {
        UChar32 c = s.char32At(i);
        out.push_back(char32_t(c));
        i += U16_LENGTH(c);
    }
    return out;
}

std::string utf8_of(const std::u32string& cps)
{
    icu::UnicodeString s;
    for (char32_t c : cps)
        s.append(UChar32(c));
    std::string out;
    s.toUTF8String(out);
    return out;
}

}

std::string short_error_text(std::string_view error)
{
    if (auto colon = error.find(": "); colon != std::string_view::npos)
        error = error.substr(colon + 2);
    auto cps = code_points(error);
    if (cps.size() <= 26)
        return std::string(error);
    cps.resize(25);
    return utf8_of(cps) + "…";
}

std::string short_display_path(std::string_view path)
{
    auto cps = code_points(path);
    if (cps.size() <= 22)
        return std::string(path);
    return "…" + utf8_of(cps.substr(cps.size() - 21));
}

std::optional<Placeholder> placeholder_for(const PlaceholderState& s)
{
    std::string path = kavo_services::lossy_utf8(*s.folder);
    if (s.loading)
        return Placeholder{PlaceholderKind::Loading, i18n::t("files-loading-title"),
                           i18n::t_args("files-loading-detail", {i18n::arg("path", path)})};
    if (*s.load_error)
        return Placeholder{PlaceholderKind::LoadError, i18n::t("files-load-error-title"),
                           i18n::t_args("files-load-error-detail", {i18n::arg("error", short_error_text(**s.load_error)),
                                                                    i18n::arg("path", short_display_path(path))})};
    if (s.entry_count > 0)
        return std::nullopt;
    if (s.in_trash)
        return Placeholder{PlaceholderKind::EmptyTrash, i18n::t("files-empty-trash"), {}};
    return Placeholder{PlaceholderKind::EmptyFolder, i18n::t("files-empty-folder"), {}};
}

}
