#pragma once

#include <expected>
#include <filesystem>
#include <string>
#include <vector>

namespace files::fileops {

// Compresses the sources, in the given order, into a new ZIP file at `zip_path`. Each source is
// stored under its final path component; a folder as "name/" followed by its contents,
// recursively in directory-listing order; regular files with Deflate. Symbolic links and
// special files are left out, wherever they are. The ZIP is written as `zip_path` with its
// extension replaced by "zip.part", flushed to disk, and renamed to `zip_path` without
// replacing anything; a name taken meanwhile is an error. On failure the part file is removed.
std::expected<void, std::string> create_zip(const std::filesystem::path& zip_path, const std::vector<std::filesystem::path>& sources);

}
