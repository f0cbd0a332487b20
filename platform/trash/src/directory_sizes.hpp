#pragma once

#include <cstdint>
#include <ctime>
#include <expected>
#include <filesystem>
#include <string>

namespace kavo_trash {

// The trash's "directorysizes" cache: one line "SIZE MTIME NAME" per trashed folder, with the
// folder's disk usage, the mtime of its info file and its percent-encoded files/ name. The file
// is replaced as a whole through a temporary file, so a reader never sees half of it.
class DirectorySizes {
public:
    explicit DirectorySizes(std::filesystem::path trash_root) : m_root(std::move(trash_root)) { }

    std::expected<void, std::string> record(const std::string& name, std::uint64_t size, std::time_t info_mtime) const;
    // Rewrites the cache only when it holds a line for `name`.
    std::expected<void, std::string> forget(const std::string& name) const;

private:
    std::filesystem::path m_root;
};

}
