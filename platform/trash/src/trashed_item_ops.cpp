#include "trashed_item_ops.hpp"

#include "directory_sizes.hpp"
#include "file_tree.hpp"
#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"
#include "trash_info.hpp"
#include "trash_location.hpp"
#include "unique_fd.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <spdlog/spdlog.h>
#include <system_error>

namespace kavo_trash {

namespace {

using kavo_services::Error;
using kavo_services::lossy_utf8;

// What restore and purge work with once an item has been confirmed.
struct ConfirmedItem {
    TrashRoot root;
    std::string name;
    UniqueFd files_fd;
    UniqueFd info_fd;
};

std::expected<ConfirmedItem, std::string> confirm(const TrashedItem& item)
{
    auto root = trash_root_at(item.trash_root);
    std::string name = item.files_path.filename().native();
    bool consistent = root && !name.empty() && name != "." && name != ".." && item.files_path == root->files() / name
        && item.info_path == root->info() / (name + ".trashinfo");
    if (!consistent)
        return std::unexpected(std::string("this is not an item of a Trash"));
    ConfirmedItem confirmed {*root, name, UniqueFd(::open(root->files().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
                             UniqueFd(::open(root->info().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))};
    if (!confirmed.files_fd || !confirmed.info_fd)
        return std::unexpected(Error::from_errno(errno, lossy_utf8(item.trash_root)).text);
    auto record = read_trash_info(confirmed.info_fd.get(), name + ".trashinfo");
    auto original = record ? original_path_of(*root, record->path) : std::nullopt;
    if (!original || *original != item.original_path)
        return std::unexpected(std::string("it is no longer in the Trash"));
    return confirmed;
}

// The item is where the user wanted it by now; leftovers of its bookkeeping are only noted, as
// an info file without its item is never listed.
void drop_bookkeeping(const ConfirmedItem& item)
{
    if (::unlinkat(item.info_fd.get(), (item.name + ".trashinfo").c_str(), 0) != 0 && errno != ENOENT)
        spdlog::warn("trash: {}", Error::from_errno(errno, lossy_utf8(item.root.info() / (item.name + ".trashinfo"))).text);
    if (auto forgotten = DirectorySizes(item.root.path).forget(item.name); !forgotten)
        spdlog::warn("trash: {}", forgotten.error());
}

}

std::expected<void, std::string> restore_item(const TrashedItem& item)
{
    auto confirmed = confirm(item);
    if (!confirmed)
        return std::unexpected(confirmed.error());
    std::error_code ec;
    std::filesystem::create_directories(item.original_path.parent_path(), ec);
    if (ec)
        return std::unexpected(Error::from_errno(ec.value(), "cannot create " + lossy_utf8(item.original_path.parent_path())).text);
    if (::renameat2(confirmed->files_fd.get(), confirmed->name.c_str(), AT_FDCWD, item.original_path.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST)
            return std::unexpected(std::string("another item already has this name"));
        // Only a trash filled by a program that copied across devices gets here; putting such
        // an item back would be a copy, which restoring never makes.
        if (errno == EXDEV)
            return std::unexpected(std::string("its original folder is on another file system than its Trash"));
        return std::unexpected(Error::from_errno(errno).text);
    }
    drop_bookkeeping(*confirmed);
    return {};
}

std::expected<void, std::string> purge_item(const TrashedItem& item)
{
    auto confirmed = confirm(item);
    if (!confirmed)
        return std::unexpected(confirmed.error());
    if (auto removed = remove_tree(confirmed->files_fd.get(), confirmed->name); !removed)
        return std::unexpected(removed.error());
    drop_bookkeeping(*confirmed);
    return {};
}

}
