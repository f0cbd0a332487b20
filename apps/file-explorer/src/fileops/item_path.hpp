#pragma once

#include <filesystem>
#include <optional>

namespace files::fileops {

// The item a path names: trailing separators are dropped, so "/a/b/" is b itself, and a link
// written with a trailing separator stays the link rather than standing for its target.
std::filesystem::path item_path(const std::filesystem::path& path);

// The final name of an item path when it has an ordinary one (not empty, "." or "..").
std::optional<std::filesystem::path> final_name(const std::filesystem::path& item);

// The folder that holds an item path: "." for a bare relative name, nullopt for a root or an
// empty path.
std::optional<std::filesystem::path> parent_folder(const std::filesystem::path& item);

}
