#pragma once

#include <filesystem>
#include <optional>

namespace files::fileops {

enum class ArchiveKind { Zip, TarGz, Tar };

// The kind a file name announces, ASCII case-insensitively: "zip"; "tgz", or "gz" on a stem that
// ends in ".tar"; "tar". A plain ".gz" file is a compressed file, not an archive.
std::optional<ArchiveKind> archive_kind(const std::filesystem::path& path);

}
