#include "trash_listing.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"
#include "trash_info.hpp"
#include "unique_fd.hpp"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace kavo_trash {

namespace {

using kavo_services::Error;
using kavo_services::lossy_utf8;

constexpr std::string_view k_info_suffix = ".trashinfo";

// The NAMEs of the info files in the folder, sorted.
std::expected<std::vector<std::string>, int> info_names(int info_fd)
{
    int copy = ::fcntl(info_fd, F_DUPFD_CLOEXEC, 0);
    DIR* dir = copy < 0 ? nullptr : ::fdopendir(copy);
    if (!dir) {
        int e = errno;
        if (copy >= 0)
            ::close(copy);
        return std::unexpected(e);
    }
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* d = ::readdir(dir)) {
        std::string_view entry(d->d_name);
        if (!entry.ends_with(k_info_suffix))
            continue;
        // "..trashinfo" would otherwise name files/ itself as an item.
        std::string_view name = entry.substr(0, entry.size() - k_info_suffix.size());
        if (!name.empty() && name != "." && name != "..")
            names.emplace_back(name);
    }
    int e = errno;
    ::closedir(dir);
    if (e != 0)
        return std::unexpected(e);
    std::sort(names.begin(), names.end());
    return names;
}

}

std::expected<void, std::string> list_trash_root(const TrashRoot& root, std::vector<TrashedItem>& out)
{
    UniqueFd info(::open(root.info().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!info && errno == ENOENT)
        return {};
    if (!info)
        return std::unexpected(Error::from_errno(errno, lossy_utf8(root.info())).text);
    UniqueFd files(::open(root.files().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!files && errno == ENOENT)
        return {};
    if (!files)
        return std::unexpected(Error::from_errno(errno, lossy_utf8(root.files())).text);
    auto names = info_names(info.get());
    if (!names)
        return std::unexpected(Error::from_errno(names.error(), lossy_utf8(root.info())).text);
    for (const auto& name : *names) {
        struct stat st {};
        if (::fstatat(files.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        auto record = read_trash_info(info.get(), name + std::string(k_info_suffix));
        if (!record)
            continue;
        auto original = original_path_of(root, record->path);
        if (!original)
            continue;
        out.push_back({root.path, root.files() / name, root.info() / (name + std::string(k_info_suffix)), std::move(*original),
                       std::move(record->deletion_date)});
    }
    return {};
}

}
