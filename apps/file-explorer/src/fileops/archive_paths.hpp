#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace files::fileops {

inline constexpr std::string_view k_entry_escapes = "archive entry escapes its destination";
inline constexpr std::string_view k_empty_entry = "empty archive entry";

// The entry name read as a "/"-separated path and rebuilt from its ordinary components: "."
// and empty components are dropped, a leading "/" or any ".." fails with k_entry_escapes, and a
// name that leaves nothing fails with k_empty_entry. Backslashes are ordinary bytes. The result
// is relative and cannot leave the folder it is joined to.
std::expected<std::filesystem::path, std::string> sanitize_entry_path(std::string_view name);

// The same rule, giving the components joined by single "/" (no path object is built, which
// matters for archives of 100,000 entries). An empty result means the name held only "."
// and empty components; the caller decides whether that is allowed.
std::expected<std::string, std::string> normalize_entry_name(std::string_view name);

// Where a path runs through an archive: the part up to the first component that is an existing
// regular file of a supported kind (links followed), and the rest inside it (empty for the
// archive itself). nullopt when no component is such an archive.
std::optional<std::pair<std::filesystem::path, std::filesystem::path>> split_archive_path(const std::filesystem::path& path);

}
