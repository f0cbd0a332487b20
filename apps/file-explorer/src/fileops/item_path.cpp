#include "fileops/item_path.hpp"

namespace files::fileops {

std::filesystem::path item_path(const std::filesystem::path& path)
{
    std::filesystem::path item = path;
    while (!item.has_filename() && item.has_relative_path())
        item = item.parent_path();
    return item;
}

std::optional<std::filesystem::path> final_name(const std::filesystem::path& item)
{
    std::filesystem::path name = item.filename();
    if (name.empty() || name == "." || name == "..")
        return std::nullopt;
    return name;
}

std::optional<std::filesystem::path> parent_folder(const std::filesystem::path& item)
{
    if (!item.has_relative_path())
        return std::nullopt;
    std::filesystem::path parent = item.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

}
