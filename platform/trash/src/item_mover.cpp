#include "item_mover.hpp"

#include "directory_sizes.hpp"
#include "file_tree.hpp"
#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"
#include "trash_info.hpp"
#include "trash_names.hpp"
#include "unique_fd.hpp"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <spdlog/spdlog.h>

namespace kavo_trash {

namespace {

using kavo_services::Error;
using kavo_services::lossy_utf8;

// Numbered names are tried in order; this many are far more than any trash holds of one name.
constexpr unsigned k_max_name_attempts = 100000;

enum class Created { Yes, NameTaken };

std::expected<Created, std::string> create_info_file(int info_fd, const std::string& name, const std::string& content)
{
    UniqueFd fd(::openat(info_fd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd && errno == EEXIST)
        return Created::NameTaken;
    if (!fd)
        return std::unexpected(Error::from_errno(errno, "cannot create its information file").text);
    int failed = 0;
    for (size_t written = 0; written < content.size() && !failed;) {
        ssize_t n = ::write(fd.get(), content.data() + written, content.size() - written);
        if (n < 0 && errno != EINTR)
            failed = errno;
        else if (n > 0)
            written += static_cast<size_t>(n);
    }
    // The info file must be on disk before the item moves, or a crash could leave an item in
    // files/ that no one knows where to put back.
    if (!failed && ::fsync(fd.get()) != 0)
        failed = errno;
    if (!failed && ::close(fd.release()) != 0)
        failed = errno;
    if (failed) {
        ::unlinkat(info_fd, name.c_str(), 0);
        return std::unexpected(Error::from_errno(failed, "cannot write its information file").text);
    }
    return Created::Yes;
}

// The cache only saves others a walk over the folder; failing to keep it is no failure of the move.
void record_folder_size(const TrashRoot& root, int files_fd, int info_fd, const std::string& name)
{
    struct stat info {};
    auto size = disk_usage(files_fd, name);
    if (!size || ::fstatat(info_fd, (name + ".trashinfo").c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        spdlog::warn("trash: no folder size recorded for {}", lossy_utf8(std::string_view(name)));
        return;
    }
    if (auto recorded = DirectorySizes(root.path).record(name, *size, info.st_mtime); !recorded)
        spdlog::warn("trash: {}", recorded.error());
}

std::string recorded_path(const ItemToTrash& item, const TrashRoot& root)
{
    if (root.top_dir) {
        auto relative = item.real_path.lexically_relative(*root.top_dir);
        if (!relative.empty() && *relative.begin() != "..")
            return relative.native();
    }
    return item.real_path.native();
}

std::expected<UniqueFd, std::string> open_folder(const std::filesystem::path& path)
{
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd)
        return std::unexpected(Error::from_errno(errno, lossy_utf8(path)).text);
    return fd;
}

}

std::expected<ItemToTrash, std::string> locate_item(const std::filesystem::path& given)
{
    std::string text = given.native();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    std::filesystem::path path(text);
    auto name = path.filename();
    if (name.empty() || name == "." || name == "..")
        return std::unexpected(std::string("this cannot be moved to the Trash"));
    std::filesystem::path parent = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    char resolved[PATH_MAX];
    if (!::realpath(parent.c_str(), resolved))
        return std::unexpected(Error::from_errno(errno).text);
    ItemToTrash item;
    item.real_path = std::filesystem::path(resolved) / name;
    if (::lstat(item.real_path.c_str(), &item.status) != 0)
        return std::unexpected(Error::from_errno(errno).text);
    return item;
}

std::expected<void, std::string> check_outside_trash(const ItemToTrash& item, const TrashRoot& root)
{
    char resolved[PATH_MAX];
    if (!::realpath(root.path.c_str(), resolved))
        return std::unexpected(Error::from_errno(errno, lossy_utf8(root.path)).text);
    std::filesystem::path real_root(resolved);
    if (is_within(item.real_path, real_root))
        return std::unexpected(std::string("it is in the Trash already"));
    if (is_within(real_root, item.real_path))
        return std::unexpected(std::string("it holds the Trash"));
    return {};
}

std::expected<std::filesystem::path, std::string> move_into_trash(const ItemToTrash& item, const TrashRoot& root)
{
    auto files = open_folder(root.files());
    if (!files)
        return std::unexpected(files.error());
    auto info = open_folder(root.info());
    if (!info)
        return std::unexpected(info.error());
    std::string content = format_trash_info(recorded_path(item, root), local_deletion_date(std::time(nullptr)));
    std::string base = item.real_path.filename().native();
    for (unsigned n = 1; n <= k_max_name_attempts; ++n) {
        std::string name = trash_name(base, n);
        std::string info_name = name + ".trashinfo";
        auto created = create_info_file(info->get(), info_name, content);
        if (!created)
            return std::unexpected(created.error());
        if (*created == Created::NameTaken)
            continue;
        if (::renameat2(AT_FDCWD, item.real_path.c_str(), files->get(), name.c_str(), RENAME_NOREPLACE) == 0) {
            if (S_ISDIR(item.status.st_mode))
                record_folder_size(root, files->get(), info->get(), name);
            return root.files() / name;
        }
        int e = errno;
        ::unlinkat(info->get(), info_name.c_str(), 0);
        if (e == EXDEV)
            return std::unexpected("it cannot be moved to the Trash of its file system: " + Error::from_errno(e).text);
        // files/ may hold an entry without an info file; its name is taken all the same.
        if (e != EEXIST)
            return std::unexpected(Error::from_errno(e).text);
    }
    return std::unexpected(std::string("the Trash holds too many items of this name"));
}

}
