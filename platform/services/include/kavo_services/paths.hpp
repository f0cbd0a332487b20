#pragma once

#include <filesystem>

namespace kavo_services {

// Whether path is folder or lies below it, comparing whole components (so /a/bc is not below /a/b).
// A trailing separator of the folder does not count.
inline bool path_is_within(const std::filesystem::path& path, const std::filesystem::path& folder)
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
