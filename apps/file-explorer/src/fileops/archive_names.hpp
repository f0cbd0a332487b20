#pragma once

#include <filesystem>
#include <vector>

namespace files::fileops {

// The folder an archive is extracted to: in the archive's parent folder, the archive's name
// without all trailing ".gz", then all trailing ".tar", then all trailing ".zip" (src.tar.gz
// gives src, photos.zip photos, data.tgz stays data.tgz), "Archive" when no name is left; when
// that exists, the name + " 2", " 3", … until one is free.
std::filesystem::path extraction_destination(const std::filesystem::path& archive);

// The ZIP file a selection is compressed to, in `folder`: the stem of a single source when it is
// valid UTF-8, else (and for several sources) "Archive"; base + ".zip", or base + " n.zip" for
// n = 2, 3, … when taken.
std::filesystem::path zip_destination(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& sources);

}
