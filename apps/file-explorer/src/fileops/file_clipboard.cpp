#include "fileops/file_clipboard.hpp"

#include "kavo_services/paths.hpp"

namespace files::fileops {

std::vector<std::filesystem::path> items_to_move(const std::vector<std::filesystem::path>& dragged,
                                                 const std::filesystem::path& target)
{
    std::vector<std::filesystem::path> out;
    for (const auto& item : dragged) {
        if (item.parent_path() == target || item == target || kavo_services::path_is_within(target, item))
            continue;
        out.push_back(item);
    }
    return out;
}

}
