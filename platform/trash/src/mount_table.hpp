#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo_trash {

struct Mount {
    std::filesystem::path mount_point;
    std::string fs_type;
};

// The mounts of this process's namespace in mount order (later mounts hide earlier ones on the
// same point), read from /proc/self/mountinfo.
std::expected<std::vector<Mount>, std::string> read_mount_table();

// Parses mountinfo text; lines that do not have its shape are skipped.
std::vector<Mount> parse_mount_table(std::string_view content);

// The mount holding `real_path` (absolute, without symbolic links): the longest mount point
// that is a component-wise prefix, the latest one among equals.
std::optional<Mount> mount_of(const std::vector<Mount>& mounts, const std::filesystem::path& real_path);

// Kernel and pseudo file systems, where no user ever trashes anything and whose folders are
// not worth a look when collecting trashes.
bool is_pseudo_file_system(std::string_view fs_type);

// Whether `inner` is `outer` or lies below it, compared by components.
bool is_within(const std::filesystem::path& inner, const std::filesystem::path& outer);

}
