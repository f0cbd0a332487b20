#include "fileops/file_clipboard.hpp"

namespace files::fileops {

namespace {

bool is_within(const std::filesystem::path& path, const std::filesystem::path& folder)
{
    auto p = path.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
        if (f->empty())
            continue;
        if (p == path.end() || *p != *f)
            return false;
    }
    return true;
}

}

std::vector<std::filesystem::path> items_to_move(const std::vector<std::filesystem::path>& dragged,
                                                 const std::filesystem::path& target)
{
    std::vector<std::filesystem::path> out;
    for (const auto& item : dragged) {
        if (item.parent_path() == target || item == target || is_within(target, item))
            continue;
        out.push_back(item);
    }
    return out;
}

}
