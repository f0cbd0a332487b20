#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace kavo_trash {

// The content of one NAME.trashinfo file.
struct TrashInfo {
    std::string path;          // decoded bytes as written: absolute, or relative to the top folder
    std::string deletion_date; // empty when missing or not of the form YYYY-MM-DDThh:mm:ss
};

// A real info file is a path and a date; anything larger is not one and is never read whole.
inline constexpr std::size_t k_max_trash_info_bytes = 64 * 1024;

std::string format_trash_info(std::string_view path, std::string_view deletion_date);

// nullopt unless the text starts with the [Trash Info] group and holds exactly one Path key
// with a decodable, non-empty value without ".." components.
std::optional<TrashInfo> parse_trash_info(std::string_view content);

// The local time as YYYY-MM-DDThh:mm:ss.
std::string local_deletion_date(std::time_t when);

// Reads and parses `name` inside the folder `dir_fd`; nullopt when it is not a readable regular
// file (symbolic links are not followed), is too large or does not parse.
std::optional<TrashInfo> read_trash_info(int dir_fd, const std::string& name);

}
