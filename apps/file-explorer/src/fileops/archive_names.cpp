#include "fileops/archive_names.hpp"

#include "kavo_services/utf8.hpp"

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace files::fileops {

namespace {

// Taken means anything is there, a dangling link included.
bool is_taken(const std::filesystem::path& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

void strip_all(std::string& name, std::string_view suffix)
{
    while (name.ends_with(suffix))
        name.resize(name.size() - suffix.size());
}

// `folder` / (base + suffix), else `folder` / (base + " n" + suffix) for the first free n >= 2.
std::filesystem::path first_free(const std::filesystem::path& folder, const std::string& base, std::string_view suffix)
{
    std::filesystem::path candidate = folder / (base + std::string(suffix));
    for (uint64_t n = 2; is_taken(candidate); ++n)
        candidate = folder / (base + " " + std::to_string(n) + std::string(suffix));
    return candidate;
}

}

std::filesystem::path extraction_destination(const std::filesystem::path& archive)
{
    std::string name = archive.filename().native();
    strip_all(name, ".gz");
    strip_all(name, ".tar");
    strip_all(name, ".zip");
    if (name.empty())
        name = "Archive";
    return first_free(archive.parent_path(), name, "");
}

std::filesystem::path zip_destination(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& sources)
{
    std::string base = "Archive";
    if (sources.size() == 1) {
        std::string stem = sources.front().stem().native();
        if (!stem.empty() && kavo_services::is_valid_utf8(stem))
            base = std::move(stem);
    }
    return first_free(folder, base, ".zip");
}

}
