#pragma once

#include <expected>
#include <filesystem>
#include <string>
#include <vector>

namespace files::fileops {

// Extracts a ZIP, TAR or gzip-compressed TAR archive (chosen by extension) into `destination`,
// which must not exist yet; its missing ancestors are created. All or nothing: the members are
// written into a hidden folder next to the destination that takes the destination's name only
// when every member was written, and that is removed on any failure. Only plain files and
// folders are written, links are skipped, other types are counted and write nothing;
// permissions, owners and times stored in the archive are not applied. Gives the paths of the
// extracted files under `destination`, in archive order.
std::expected<std::vector<std::filesystem::path>, std::string> extract_archive(const std::filesystem::path& archive,
                                                                               const std::filesystem::path& destination);

}
