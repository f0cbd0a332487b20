#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace files::fileops {

// XDG_TEMPLATES_DIR when it is set and not blank (trimmed, taken as it is), else home/Templates.
std::optional<std::filesystem::path> templates_folder(const std::optional<std::filesystem::path>& home);

struct Template {
    std::filesystem::path path;
    std::string label;  // "New { $name }" with the file's stem
};

// The regular files directly in the folder whose names do not start with "." (no folders, no
// links), in byte order of their paths. An unreadable or missing folder gives none.
std::vector<Template> list_templates(const std::optional<std::filesystem::path>& folder);

}
