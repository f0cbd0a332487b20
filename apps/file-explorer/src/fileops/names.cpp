#include "fileops/names.hpp"

#include "fileops/item_path.hpp"
#include "fileops/os_text.hpp"
#include "fileops/rename_no_replace.hpp"
#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace files::fileops {

namespace {

bool is_white_space(UChar32 c) { return c >= 0 && u_isUWhiteSpace(c); }

// Trims whole code points; bytes that are not UTF-8 are never white space.
std::string_view trim_white_space(std::string_view text)
{
    if (text.size() > static_cast<size_t>(INT32_MAX))
        return text;
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    int32_t length = static_cast<int32_t>(text.size());
    int32_t begin = 0;
    while (begin < length) {
        int32_t next = begin;
        UChar32 c;
        U8_NEXT(s, next, length, c);
        if (!is_white_space(c))
            break;
        begin = next;
    }
    int32_t end = length;
    while (end > begin) {
        int32_t previous = end;
        UChar32 c;
        U8_PREV(s, begin, previous, c);
        if (!is_white_space(c))
            break;
        end = previous;
    }
    return text.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
}

std::expected<std::string, std::string> check_name(std::string_view name)
{
    if (name.empty())
        return std::unexpected(i18n::t("files-name-empty"));
    if (name.find('/') != std::string_view::npos || name == "." || name == "..")
        return std::unexpected(i18n::t("files-name-slash"));
    // The system cannot take a name with a NUL byte: it would cut the name short and act on
    // another item, so the name is refused as the system would refuse it.
    if (name.find('\0') != std::string_view::npos)
        return std::unexpected(os_text(EINVAL));
    return std::string(name);
}

bool is_link_item(const std::filesystem::path& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Both paths exist, neither is a link, and they resolve to the same path: a new spelling of one
// item, such as a change of case on a case-insensitive file system.
bool same_item(const std::filesystem::path& current, const std::filesystem::path& target)
{
    if (is_link_item(current) || is_link_item(target))
        return false;
    std::error_code ec_current;
    std::error_code ec_target;
    auto canonical_current = std::filesystem::canonical(current, ec_current);
    auto canonical_target = std::filesystem::canonical(target, ec_target);
    return !ec_current && !ec_target && canonical_current == canonical_target;
}

std::expected<void, int> plain_rename(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::rename(from.c_str(), to.c_str()) == 0)
        return {};
    return std::unexpected(errno);
}

}

NameParts NameParts::split(const std::filesystem::path& name)
{
    NameParts parts;
    parts.full = name.filename().native();
    size_t dot = parts.full.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        parts.stem = parts.full;
    } else {
        parts.stem = parts.full.substr(0, dot);
        parts.extension = parts.full.substr(dot + 1);
    }
    return parts;
}

std::string numbered_name(const NameParts& parts, unsigned n)
{
    if (n <= 1)
        return parts.full;
    std::string name = parts.stem + ' ' + std::to_string(n);
    if (parts.extension)
        name += '.' + *parts.extension;
    return name;
}

std::expected<std::string, std::string> validate_item_name(std::string_view text)
{
    return check_name(trim_white_space(text));
}

std::expected<std::string, std::string> validate_folder_name(std::string_view text)
{
    auto name = validate_item_name(text);
    if (!name && trim_white_space(text).empty())
        return std::unexpected(i18n::t("files-folder-name-empty"));
    return name;
}

std::expected<Probe, std::string> probe_destination(const std::filesystem::path& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0)
        return Probe::Taken;
    if (errno == ENOENT)
        return Probe::Free;
    return std::unexpected(i18n::t_args("files-destination-inspect-failed",
                                        {i18n::arg("path", kavo_services::lossy_utf8(path)), i18n::arg("error", os_text(errno))}));
}

std::expected<std::filesystem::path, std::string> choose_free_destination(const std::filesystem::path& folder,
                                                                          std::string_view name)
{
    // Callers pass a validated name; anything else could name a path outside the folder.
    if (auto checked = check_name(name); !checked)
        return std::unexpected(checked.error());
    NameParts parts = NameParts::split(std::filesystem::path(name));
    for (unsigned n = 1; n <= k_last_numbered_name; ++n) {
        std::filesystem::path candidate = folder / numbered_name(parts, n);
        auto probe = probe_destination(candidate);
        if (!probe)
            return std::unexpected(probe.error());
        if (*probe == Probe::Free)
            return candidate;
    }
    return std::unexpected(i18n::t_args("files-destination-names-exhausted",
                                        {i18n::arg("name", kavo_services::lossy_utf8(name)),
                                         i18n::arg("path", kavo_services::lossy_utf8(folder))}));
}

std::expected<std::filesystem::path, std::string> create_folder(const std::filesystem::path& folder,
                                                                std::string_view name)
{
    auto valid = validate_folder_name(name);
    if (!valid)
        return std::unexpected(valid.error());
    auto destination = choose_free_destination(folder, *valid);
    if (!destination)
        return std::unexpected(destination.error());
    if (::mkdir(destination->c_str(), 0777) != 0)
        return std::unexpected(os_text(errno));
    return *destination;
}

std::expected<std::filesystem::path, std::string> rename_item(const std::filesystem::path& current,
                                                              std::string_view new_name)
{
    auto name = validate_item_name(new_name);
    if (!name)
        return std::unexpected(name.error());
    std::filesystem::path item = item_path(current);
    if (!item.has_relative_path())
        return std::unexpected(i18n::t("files-no-parent"));
    std::filesystem::path target = item.parent_path() / *name;
    if (target == item)
        return target;

    auto name_exists = [&] { return i18n::t_args("files-name-exists", {i18n::arg("name", kavo_services::lossy_utf8(std::string_view(*name)))}); };
    struct stat st;
    bool exists = ::lstat(target.c_str(), &st) == 0;
    if (exists && !same_item(item, target))
        return std::unexpected(name_exists());

    // A new spelling of the same item needs the plain rename: to a case-insensitive file system
    // the new name exists already. Every other rename must not replace what appeared since the
    // check; only a file system that cannot promise that gets the plain rename.
    auto renamed = exists ? plain_rename(item, target) : rename_no_replace(item, target);
    if (!renamed && !exists && renamed.error() == EINVAL)
        renamed = plain_rename(item, target);
    if (!renamed && renamed.error() == EEXIST)
        return std::unexpected(name_exists());
    if (!renamed)
        return std::unexpected(os_text(renamed.error()));
    return target;
}

}
