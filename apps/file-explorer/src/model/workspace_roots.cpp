#include "model/workspace_roots.hpp"

#include "kavo_ui/sysdirs.hpp"

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>

namespace files::model {

namespace {

constexpr const char* k_system_workspace = "/var/workspace";

// Follows links, so a link to a folder counts as the folder.
bool path_exists(const std::filesystem::path& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The components that carry meaning: repeated separators, a trailing separator and "." do not.
std::vector<std::string_view> components(const std::filesystem::path& path)
{
    std::vector<std::string_view> parts;
    std::string_view text = path.native();
    if (text.starts_with('/'))
        parts.push_back("/");
    while (!text.empty()) {
        size_t slash = text.find('/');
        std::string_view part = text.substr(0, slash);
        if (!part.empty() && part != ".")
            parts.push_back(part);
        if (slash == std::string_view::npos)
            break;
        text.remove_prefix(slash + 1);
    }
    return parts;
}

}

std::vector<std::filesystem::path> workspace_roots()
{
    std::vector<std::filesystem::path> roots;
    if (const char* list = std::getenv("KAVO_WORKSPACE_ROOTS")) {
        std::string_view rest = list;
        for (;;) {
            size_t colon = rest.find(':');
            std::filesystem::path root(rest.substr(0, colon));
            if (!root.empty() && path_exists(root))
                roots.push_back(std::move(root));
            if (colon == std::string_view::npos)
                return roots;
            rest.remove_prefix(colon + 1);
        }
    }
    if (path_exists(k_system_workspace))
        roots.emplace_back(k_system_workspace);
    if (auto home = kavo_ui::sysdirs::user_home()) {
        auto shared = *home / "Shared";
        if (path_exists(shared) && std::find(roots.begin(), roots.end(), shared) == roots.end())
            roots.push_back(std::move(shared));
    }
    return roots;
}

bool is_inside_roots(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& roots)
{
    auto folder_parts = components(folder);
    return std::any_of(roots.begin(), roots.end(), [&](const std::filesystem::path& root) {
        auto root_parts = components(root);
        return !root_parts.empty() && root_parts.size() <= folder_parts.size()
            && std::equal(root_parts.begin(), root_parts.end(), folder_parts.begin());
    });
}

bool is_hidden_name(std::string_view name) { return name.starts_with('.'); }

void remove_hidden(EntryList& entries)
{
    std::erase_if(entries, [](const DirectoryEntry& e) { return is_hidden_name(e.name); });
}

}
