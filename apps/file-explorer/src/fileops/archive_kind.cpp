#include "fileops/archive_kind.hpp"

#include "fileops/ascii_nocase.hpp"

#include <string_view>

namespace files::fileops {

std::optional<ArchiveKind> archive_kind(const std::filesystem::path& path)
{
    // The name after its last dot; a name whose only dot is its first byte has no extension.
    std::string_view name(path.native());
    if (size_t slash = name.rfind('/'); slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::nullopt;
    std::string_view extension = name.substr(dot + 1);
    std::string_view stem = name.substr(0, dot);
    if (equals_ascii_nocase(extension, "zip"))
        return ArchiveKind::Zip;
    if (equals_ascii_nocase(extension, "tgz") || (equals_ascii_nocase(extension, "gz") && ends_with_ascii_nocase(stem, ".tar")))
        return ArchiveKind::TarGz;
    if (equals_ascii_nocase(extension, "tar"))
        return ArchiveKind::Tar;
    return std::nullopt;
}

}
