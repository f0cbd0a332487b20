#include "fileops/remove_tree.hpp"

#include "fileops/handles.hpp"
#include "fileops/item_path.hpp"
#include "fileops/os_text.hpp"
#include "fileops/transfer_engine.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace files::fileops {

namespace {

struct Entry {
    std::string name;
    bool folder = false;
};

// One folder being emptied: its handle, its names read in full before anything is removed (so
// that removal cannot disturb the listing), and its own name in the folder above.
struct Frame {
    DirStream dir;
    std::vector<Entry> entries;
    size_t next = 0;
    std::string name;
};

std::expected<Frame, int> open_frame(int parent_fd, const char* name, LockedFolders locked)
{
    UniqueFd fd(::openat(parent_fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd)
        return std::unexpected(errno);
    if (locked == LockedFolders::Unlock) {
        struct stat st;
        if (::fstat(fd.get(), &st) == 0 && (st.st_mode & S_IRWXU) != S_IRWXU)
            ::fchmod(fd.get(), (st.st_mode & 07777) | S_IRWXU);
    }
    Frame frame {DirStream(std::move(fd)), {}, 0, name};
    if (!frame.dir)
        return std::unexpected(errno);
    for (;;) {
        errno = 0;
        struct dirent* entry = ::readdir(frame.dir.get());
        if (!entry) {
            if (errno != 0)
                return std::unexpected(errno);
            break;
        }
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        frame.entries.push_back({entry->d_name, entry->d_type == DT_DIR});
    }
    return frame;
}

std::expected<void, std::string> remove_folder_tree(const std::filesystem::path& top, LockedFolders locked)
{
    std::vector<Frame> stack;
    auto first = open_frame(AT_FDCWD, top.c_str(), locked);
    if (!first)
        return std::unexpected(os_text(first.error()));
    stack.push_back(std::move(*first));
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.entries.size()) {
            std::string name = std::move(frame.name);
            stack.pop_back();
            int parent_fd = stack.empty() ? AT_FDCWD : stack.back().dir.fd();
            if (::unlinkat(parent_fd, name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT)
                return std::unexpected(os_text(errno));
            continue;
        }
        const Entry& entry = frame.entries[frame.next++];
        if (!entry.folder) {
            if (::unlinkat(frame.dir.fd(), entry.name.c_str(), 0) == 0 || errno == ENOENT)
                continue;
            if (errno != EISDIR)
                return std::unexpected(os_text(errno));
        }
        auto child = open_frame(frame.dir.fd(), entry.name.c_str(), locked);
        if (!child && child.error() == ENOENT)
            continue;
        if (!child && child.error() == ENOTDIR) {
            // Listed as a folder, but by now something else: removed like any other entry.
            if (::unlinkat(frame.dir.fd(), entry.name.c_str(), 0) == 0 || errno == ENOENT)
                continue;
            return std::unexpected(os_text(errno));
        }
        if (!child)
            return std::unexpected(os_text(child.error()));
        stack.push_back(std::move(*child));
    }
    return {};
}

}

std::expected<void, std::string> remove_tree(const std::filesystem::path& path, LockedFolders locked)
{
    std::filesystem::path item = item_path(path);
    // Like rm, never empty a root, "." or "..": such a path names no single item.
    if (!item.empty() && !final_name(item))
        return std::unexpected(os_text(EINVAL));
    struct stat st;
    if (::lstat(item.c_str(), &st) != 0)
        return errno == ENOENT ? std::expected<void, std::string> {} : std::unexpected(os_text(errno));
    if (S_ISDIR(st.st_mode))
        return remove_folder_tree(item, locked);
    if (::unlink(item.c_str()) != 0 && errno != ENOENT)
        return std::unexpected(os_text(errno));
    return {};
}

std::expected<void, std::string> remove_path(const std::filesystem::path& path)
{
    return remove_tree(path, LockedFolders::Leave);
}

}
