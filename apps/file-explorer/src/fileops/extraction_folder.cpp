#include "fileops/extraction_folder.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace files::fileops {

namespace {

constexpr int k_folder_flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr size_t k_cached_folders = 64;

std::unexpected<std::string> failure(int error, std::string_view relative)
{
    return std::unexpected(kavo_services::Error::from_errno(error, kavo_services::lossy_utf8(relative)).text);
}

// Unlinks every non-folder in the folder and names its subfolders.
std::vector<std::string> clear_files(int folder)
{
    std::vector<std::string> subfolders;
    int fd = ::openat(folder, ".", k_folder_flags);
    if (fd < 0)
        return subfolders;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return subfolders;
    }
    while (dirent* d = ::readdir(dir)) {
        std::string_view name(d->d_name);
        if (name == "." || name == "..")
            continue;
        bool is_folder = d->d_type == DT_DIR;
        if (d->d_type == DT_UNKNOWN) {
            struct stat st {};
            is_folder = ::fstatat(folder, d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        if (is_folder)
            subfolders.emplace_back(name);
        else
            ::unlinkat(folder, d->d_name, 0);
    }
    ::closedir(dir);
    return subfolders;
}

// Removes `name` in `parent` with everything below it, never following a link. It walks down
// with O_NOFOLLOW and back up through "..", holding one folder open at a time, so that even a
// very deep tree costs no more descriptors, and reads every folder once. It stops at the first
// folder that cannot be removed (which is then left, with what remains in it) rather than
// trying it again.
void remove_tree(int parent, const std::string& name)
{
    UniqueFd current(::openat(parent, name.c_str(), k_folder_flags));
    if (!current) {
        ::unlinkat(parent, name.c_str(), 0);
        return;
    }
    struct Level {
        std::string name;
        std::vector<std::string> subfolders;
    };
    std::vector<Level> levels;
    levels.push_back({name, clear_files(current.get())});
    for (;;) {
        Level& level = levels.back();
        if (!level.subfolders.empty()) {
            std::string subfolder = std::move(level.subfolders.back());
            level.subfolders.pop_back();
            UniqueFd below(::openat(current.get(), subfolder.c_str(), k_folder_flags));
            if (!below) {
                // Replaced by something that is not a folder since it was listed.
                if (::unlinkat(current.get(), subfolder.c_str(), 0) != 0)
                    return;
                continue;
            }
            current = std::move(below);
            std::vector<std::string> subfolders = clear_files(current.get());
            levels.push_back({std::move(subfolder), std::move(subfolders)});
            continue;
        }
        std::string done = std::move(level.name);
        levels.pop_back();
        if (levels.empty()) {
            ::unlinkat(parent, done.c_str(), AT_REMOVEDIR);
            return;
        }
        UniqueFd up(::openat(current.get(), "..", k_folder_flags));
        if (!up || ::unlinkat(up.get(), done.c_str(), AT_REMOVEDIR) != 0)
            return;
        current = std::move(up);
    }
}

}

std::expected<std::unique_ptr<ExtractionFolder>, std::string> ExtractionFolder::reserve(const std::filesystem::path& parent,
                                                                                         const std::string& name)
{
    UniqueFd parent_fd(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!parent_fd)
        return failure(errno, parent.native());
    std::string prefix = "." + name + ".extracting-" + std::to_string(::getpid()) + "-";
    for (int n = 0; n < 1000; ++n) {
        std::string candidate = prefix + std::to_string(n);
        // Creating is the test for being free, so two extractions cannot both take one name.
        if (::mkdirat(parent_fd.get(), candidate.c_str(), 0777) != 0) {
            if (errno == EEXIST)
                continue;
            return failure(errno, parent.native());
        }
        UniqueFd root(::openat(parent_fd.get(), candidate.c_str(), k_folder_flags));
        if (!root) {
            int error = errno;
            ::unlinkat(parent_fd.get(), candidate.c_str(), AT_REMOVEDIR);
            return failure(error, candidate);
        }
        return std::unique_ptr<ExtractionFolder>(
            new ExtractionFolder(std::move(parent_fd), std::move(candidate), name, std::move(root)));
    }
    return std::unexpected(std::string(k_no_temporary_folder));
}

ExtractionFolder::ExtractionFolder(UniqueFd parent, std::string temporary_name, std::string name, UniqueFd root)
    : m_parent(std::move(parent)), m_temporary_name(std::move(temporary_name)), m_name(std::move(name)), m_root(std::move(root))
{
}

ExtractionFolder::~ExtractionFolder()
{
    if (m_published)
        return;
    m_folders.clear();
    m_root.reset();
    remove_tree(m_parent.get(), m_temporary_name);
}

std::expected<int, std::string> ExtractionFolder::folder_fd(std::string_view relative)
{
    if (relative.empty())
        return m_root.get();
    // A longer path could be made here through descriptors but not reached by anyone afterwards.
    if (relative.size() >= PATH_MAX)
        return failure(ENAMETOOLONG, relative);
    if (auto found = m_folders.find(std::string(relative)); found != m_folders.end())
        return found->second.get();

    int current = m_root.get();
    UniqueFd held;
    std::string component;
    for (size_t begin = 0; begin < relative.size();) {
        size_t end = relative.find('/', begin);
        if (end == std::string_view::npos)
            end = relative.size();
        component.assign(relative.substr(begin, end - begin));
        begin = end + 1;
        int fd = ::openat(current, component.c_str(), k_folder_flags);
        if (fd < 0 && errno == ENOENT) {
            if (::mkdirat(current, component.c_str(), 0777) != 0 && errno != EEXIST)
                return failure(errno, relative.substr(0, end));
            fd = ::openat(current, component.c_str(), k_folder_flags);
        }
        if (fd < 0)
            return failure(errno, relative.substr(0, end));
        held.reset(fd);
        current = fd;
    }
    if (m_folders.size() >= k_cached_folders)
        m_folders.clear();
    return m_folders.emplace(std::string(relative), std::move(held)).first->second.get();
}

std::expected<void, std::string> ExtractionFolder::make_folder(std::string_view relative)
{
    auto fd = folder_fd(relative);
    if (!fd)
        return std::unexpected(std::move(fd.error()));
    return {};
}

std::expected<UniqueFd, std::string> ExtractionFolder::create_file(std::string_view relative)
{
    if (relative.size() >= PATH_MAX)
        return failure(ENAMETOOLONG, relative);
    size_t slash = relative.rfind('/');
    std::string_view parent = slash == std::string_view::npos ? std::string_view() : relative.substr(0, slash);
    std::string leaf(slash == std::string_view::npos ? relative : relative.substr(slash + 1));
    auto folder = folder_fd(parent);
    if (!folder)
        return std::unexpected(std::move(folder.error()));
    UniqueFd fd(::openat(*folder, leaf.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!fd)
        return failure(errno, relative);
    return fd;
}

std::expected<void, std::string> ExtractionFolder::publish()
{
    m_folders.clear();
    // A plain rename would quietly replace an empty folder that appeared under the final name
    // while the archive was being written.
    if (::renameat2(m_parent.get(), m_temporary_name.c_str(), m_parent.get(), m_name.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST || errno == ENOTEMPTY)
            return std::unexpected(std::string(k_destination_exists));
        return failure(errno, m_name);
    }
    m_published = true;
    m_root.reset();
    return {};
}

}
