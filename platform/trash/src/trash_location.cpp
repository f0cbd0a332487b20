#include "trash_location.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"
#include "kavo_trash/trash.hpp"

#include <cerrno>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kavo_trash {

namespace {

enum class Create { No, Yes };
// A top-folder trash must be this user's own real folder: others may write to the top folder
// and could otherwise hand us a link to somewhere else, or a folder they can read.
enum class Check { Folder, OwnRealFolder };

using kavo_services::Error;
using kavo_services::lossy_utf8;

std::string user_id() { return std::to_string(::getuid()); }

// Ok(true) when the folder is there and passes the check, Ok(false) when it is missing and
// Create::No was asked.
std::expected<bool, std::string> ensure_folder(const std::filesystem::path& path, Create create, Check check)
{
    if (create == Create::Yes && ::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return std::unexpected(Error::from_errno(errno, lossy_utf8(path)).text);
    struct stat st {};
    int rc = check == Check::OwnRealFolder ? ::lstat(path.c_str(), &st) : ::stat(path.c_str(), &st);
    if (rc != 0 && errno == ENOENT && create == Create::No)
        return false;
    if (rc != 0)
        return std::unexpected(Error::from_errno(errno, lossy_utf8(path)).text);
    if (!S_ISDIR(st.st_mode))
        return std::unexpected(lossy_utf8(path) + ": not a folder");
    if (check == Check::OwnRealFolder && st.st_uid != ::getuid())
        return std::unexpected(lossy_utf8(path) + ": belongs to another user");
    return true;
}

std::expected<void, std::string> ensure_inner_folders(const TrashRoot& root)
{
    for (const auto& folder : {root.files(), root.info()}) {
        if (auto made = ensure_folder(folder, Create::Yes, Check::Folder); !made)
            return std::unexpected(made.error());
    }
    return {};
}

// Creates the folder and its missing parents, private to the user as the XDG rules ask of
// data folders.
std::expected<void, std::string> ensure_folder_tree(const std::filesystem::path& path)
{
    std::vector<std::filesystem::path> missing;
    struct stat st {};
    for (auto p = path; !p.empty() && ::stat(p.c_str(), &st) != 0; p = p.parent_path()) {
        if (errno != ENOENT)
            return std::unexpected(Error::from_errno(errno, lossy_utf8(p)).text);
        missing.push_back(p);
        if (p == p.parent_path())
            break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (auto made = ensure_folder(*it, Create::Yes, Check::Folder); !made)
            return std::unexpected(made.error());
    }
    if (auto present = ensure_folder(path, Create::No, Check::Folder); !present)
        return std::unexpected(present.error());
    return {};
}

// The device the home trash is on, or would be on once created: that of its nearest existing
// folder.
std::optional<dev_t> home_trash_device()
{
    auto root = home_trash();
    if (!root)
        return std::nullopt;
    struct stat st {};
    for (auto p = *root; !p.empty(); p = p.parent_path()) {
        if (::stat(p.c_str(), &st) == 0)
            return st.st_dev;
        if (p == p.parent_path())
            break;
    }
    return std::nullopt;
}

// The top-folder trashes of one mount, in the order they are preferred.
std::vector<TrashRoot> candidate_roots(const std::filesystem::path& top)
{
    return {{top / ".Trash" / user_id(), top}, {top / (".Trash-" + user_id()), top}};
}

// $topdir/.Trash is the administrator's shared folder; it is only trusted with the sticky bit
// set, so that users cannot remove each other's folders in it, and never through a link.
bool admin_trash_usable(const std::filesystem::path& top)
{
    struct stat st {};
    auto admin = top / ".Trash";
    return ::lstat(admin.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX);
}

}

std::optional<TrashRoot> home_trash_root()
{
    auto root = home_trash();
    if (!root)
        return std::nullopt;
    return TrashRoot{*root, std::nullopt};
}

std::expected<TrashRoot, std::string> TrashLocator::root_for(const std::filesystem::path& real_path, dev_t device)
{
    if (!m_home_device)
        m_home_device = home_trash_device();
    if (*m_home_device && **m_home_device == device) {
        TrashRoot root = *home_trash_root();
        if (auto made = ensure_folder_tree(root.path); !made)
            return std::unexpected(made.error());
        if (auto made = ensure_inner_folders(root); !made)
            return std::unexpected(made.error());
        return root;
    }
    return top_dir_root_for(real_path);
}

std::expected<TrashRoot, std::string> TrashLocator::top_dir_root_for(const std::filesystem::path& real_path)
{
    if (!m_mounts)
        m_mounts = read_mount_table();
    if (!*m_mounts)
        return std::unexpected("it is on another file system than the home Trash, and the mounts cannot be read: "
                               + m_mounts->error());
    auto mount = mount_of(**m_mounts, real_path);
    if (!mount)
        return std::unexpected(std::string("it is on another file system than the home Trash, and its mount is unknown"));
    auto candidates = candidate_roots(mount->mount_point);
    std::string failure;
    for (size_t i = admin_trash_usable(mount->mount_point) ? 0 : 1; i < candidates.size(); ++i) {
        auto made = ensure_folder(candidates[i].path, Create::Yes, Check::OwnRealFolder);
        if (!made) {
            failure = made.error();
            continue;
        }
        if (auto inner = ensure_inner_folders(candidates[i]); !inner) {
            failure = inner.error();
            continue;
        }
        return candidates[i];
    }
    return std::unexpected("no Trash can be used on the file system mounted at " + lossy_utf8(mount->mount_point)
                           + " (" + failure + ")");
}

std::vector<TrashRoot> existing_trash_roots()
{
    std::vector<TrashRoot> roots;
    std::set<std::pair<dev_t, ino_t>> seen;
    auto add_if_new = [&](const TrashRoot& root) {
        struct stat st {};
        if (::stat(root.path.c_str(), &st) == 0 && seen.insert({st.st_dev, st.st_ino}).second)
            roots.push_back(root);
    };
    if (auto home = home_trash_root()) {
        if (auto present = ensure_folder(home->path, Create::No, Check::Folder); present && *present)
            add_if_new(*home);
    }
    auto mounts = read_mount_table();
    if (!mounts)
        return roots;
    for (const auto& mount : *mounts) {
        if (is_pseudo_file_system(mount.fs_type))
            continue;
        auto candidates = candidate_roots(mount.mount_point);
        for (size_t i = admin_trash_usable(mount.mount_point) ? 0 : 1; i < candidates.size(); ++i) {
            if (auto present = ensure_folder(candidates[i].path, Create::No, Check::OwnRealFolder); present && *present)
                add_if_new(candidates[i]);
        }
    }
    return roots;
}

std::optional<TrashRoot> trash_root_at(const std::filesystem::path& path)
{
    if (auto home = home_trash_root(); home && home->path == path)
        return home;
    if (path.filename() == ".Trash-" + user_id())
        return TrashRoot{path, path.parent_path()};
    if (path.filename() == user_id() && path.parent_path().filename() == ".Trash")
        return TrashRoot{path, path.parent_path().parent_path()};
    return std::nullopt;
}

std::optional<std::filesystem::path> original_path_of(const TrashRoot& root, const std::string& recorded)
{
    std::filesystem::path path(recorded);
    if (path.is_absolute())
        return path;
    if (!root.top_dir)
        return std::nullopt;
    return *root.top_dir / path;
}

}
