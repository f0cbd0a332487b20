#include "file_tree.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"
#include "unique_fd.hpp"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace kavo_trash {

namespace {

using kavo_services::Error;

std::string failure(const std::filesystem::path& where, int errnum)
{
    if (where.empty())
        return Error::from_errno(errnum).text;
    return Error::from_errno(errnum, kavo_services::lossy_utf8(where)).text;
}

// All names in the folder, read before anything in it changes.
std::expected<std::vector<std::string>, int> entry_names(int dir_fd)
{
    int copy = ::fcntl(dir_fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return std::unexpected(errno);
    DIR* dir = ::fdopendir(copy);
    if (!dir) {
        int e = errno;
        ::close(copy);
        return std::unexpected(e);
    }
    ::rewinddir(dir);
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* d = ::readdir(dir)) {
        std::string_view name(d->d_name);
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    int e = errno;
    ::closedir(dir);
    if (e != 0)
        return std::unexpected(e);
    return names;
}

struct Walk {
    std::set<std::pair<dev_t, ino_t>> linked_seen;

    std::expected<std::uint64_t, std::string> usage(int parent_fd, const std::string& name, const std::filesystem::path& where)
    {
        struct stat st {};
        if (::fstatat(parent_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return std::unexpected(failure(where, errno));
        bool counted_before = !S_ISDIR(st.st_mode) && st.st_nlink > 1 && !linked_seen.insert({st.st_dev, st.st_ino}).second;
        std::uint64_t total = counted_before ? 0 : static_cast<std::uint64_t>(st.st_blocks) * 512;
        if (!S_ISDIR(st.st_mode))
            return total;
        UniqueFd fd(::openat(parent_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!fd)
            return std::unexpected(failure(where, errno));
        auto names = entry_names(fd.get());
        if (!names)
            return std::unexpected(failure(where, names.error()));
        for (const auto& child : *names) {
            auto part = usage(fd.get(), child, where / child);
            if (!part)
                return part;
            total += *part;
        }
        return total;
    }
};

// Opens a folder for listing and removing its entries, adding the owner's permissions when
// they are missing. A folder without read or search permission is reached through an O_PATH
// descriptor, so the permission change lands on that very folder even if its name is swapped
// for a link in between.
std::expected<UniqueFd, int> open_for_removal(int parent_fd, const std::string& name)
{
    UniqueFd fd(::openat(parent_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd && errno == EACCES) {
        UniqueFd handle(::openat(parent_fd, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        if (!handle || ::fstat(handle.get(), &st) != 0)
            return std::unexpected(errno);
        std::string through_proc = "/proc/self/fd/" + std::to_string(handle.get());
        if (::chmod(through_proc.c_str(), (st.st_mode & 07777) | S_IRWXU) != 0)
            return std::unexpected(errno);
        fd.reset(::open(through_proc.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    if (!fd)
        return std::unexpected(errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return std::unexpected(errno);
    if ((st.st_mode & S_IRWXU) != S_IRWXU && ::fchmod(fd.get(), (st.st_mode & 07777) | S_IRWXU) != 0)
        return std::unexpected(errno);
    return fd;
}

std::expected<void, std::string> remove_entry(int parent_fd, const std::string& name, const std::filesystem::path& where)
{
    struct stat st {};
    if (::fstatat(parent_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? std::expected<void, std::string>() : std::unexpected(failure(where, errno));
    if (S_ISDIR(st.st_mode)) {
        auto fd = open_for_removal(parent_fd, name);
        if (!fd)
            return std::unexpected(failure(where, fd.error()));
        auto names = entry_names(fd->get());
        if (!names)
            return std::unexpected(failure(where, names.error()));
        for (const auto& child : *names) {
            if (auto removed = remove_entry(fd->get(), child, where / child); !removed)
                return removed;
        }
    }
    if (::unlinkat(parent_fd, name.c_str(), S_ISDIR(st.st_mode) ? AT_REMOVEDIR : 0) != 0 && errno != ENOENT)
        return std::unexpected(failure(where, errno));
    return {};
}

}

std::expected<std::uint64_t, std::string> disk_usage(int parent_fd, const std::string& name)
{
    Walk walk;
    return walk.usage(parent_fd, name, {});
}

std::expected<void, std::string> remove_tree(int parent_fd, const std::string& name) { return remove_entry(parent_fd, name, {}); }

}
