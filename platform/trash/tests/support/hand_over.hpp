#pragma once

#include "kavo_testing/temp_tree.hpp"
#include "kavo_testing/unprivileged.hpp"

#include "kavo_testing/unprivileged.hpp"

#include <filesystem>
#include <unistd.h>

namespace kavo_trash::test_support {

using namespace kavo_testing;

// Gives the tree at `path` to the user run_unprivileged runs as; nothing to do when the tests
// are not root, as the child then keeps the tests' own identity.
inline void hand_over(const std::filesystem::path& path)
{
    if (::geteuid() != 0)
        return;
    ::lchown(path.c_str(), k_unprivileged_id, k_unprivileged_id);
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ec))
        ::lchown(entry.path().c_str(), k_unprivileged_id, k_unprivileged_id);
}

}
