#pragma once

#include <expected>
#include <filesystem>

namespace files::fileops {

// Renames `from` to `to` only when nothing exists at `to`, in one atomic step; the errno on
// failure (EEXIST when the name is taken, EXDEV across file systems, EINVAL where the file system
// cannot promise not to replace).
std::expected<void, int> rename_no_replace(const std::filesystem::path& from, const std::filesystem::path& to);

}
