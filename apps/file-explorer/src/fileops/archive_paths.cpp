#include "fileops/archive_paths.hpp"

#include "fileops/archive_kind.hpp"

#include <sys/stat.h>

namespace files::fileops {

std::expected<std::string, std::string> normalize_entry_name(std::string_view name)
{
    if (name.starts_with('/'))
        return std::unexpected(std::string(k_entry_escapes));
    std::string out;
    out.reserve(name.size());
    size_t begin = 0;
    while (begin <= name.size()) {
        size_t end = name.find('/', begin);
        if (end == std::string_view::npos)
            end = name.size();
        std::string_view component = name.substr(begin, end - begin);
        begin = end + 1;
        if (component.empty() || component == ".")
            continue;
        if (component == "..")
            return std::unexpected(std::string(k_entry_escapes));
        if (!out.empty())
            out.push_back('/');
        out.append(component);
    }
    return out;
}

std::expected<std::filesystem::path, std::string> sanitize_entry_path(std::string_view name)
{
    auto normalized = normalize_entry_name(name);
    if (!normalized)
        return std::unexpected(std::move(normalized.error()));
    if (normalized->empty())
        return std::unexpected(std::string(k_empty_entry));
    return std::filesystem::path(std::move(*normalized));
}

std::optional<std::pair<std::filesystem::path, std::filesystem::path>> split_archive_path(const std::filesystem::path& path)
{
    const std::string& text = path.native();
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('/', begin);
        if (end == std::string::npos)
            end = text.size();
        std::string_view component = std::string_view(text).substr(begin, end - begin);
        // Only names of a supported kind cost a status read.
        if (!component.empty() && archive_kind(std::filesystem::path(component))) {
            std::string archive = text.substr(0, end);
            struct stat st {};
            if (::stat(archive.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
                size_t rest = text.find_first_not_of('/', end);
                return std::pair {std::filesystem::path(std::move(archive)),
                                  std::filesystem::path(rest == std::string::npos ? std::string() : text.substr(rest))};
            }
        }
        begin = end + 1;
    }
    return std::nullopt;
}

}
