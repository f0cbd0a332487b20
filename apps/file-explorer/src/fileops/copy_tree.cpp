#include "fileops/copy_tree_test_api.hpp"
#include "fileops/file_content.hpp"
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

constexpr const char* k_type_changed = "source type changed during copy";
// Link texts are at most a page on Linux file systems; the bound only stops a runaway loop.
constexpr size_t k_link_text_limit = size_t(1) << 20;

CopyTreeTestApi::Hook& between_status_and_open()
{
    static CopyTreeTestApi::Hook hook;
    return hook;
}

// A failure is kept as an errno or a fixed text and only turned into its display text once every
// folder handle of the walk is closed: running out of descriptors is one way a walk fails.
struct Failure {
    int errnum = 0;
    const char* literal = nullptr;

    std::string text() const { return literal ? std::string(literal) : os_text(errnum); }
};

using Result = std::expected<void, Failure>;

std::unexpected<Failure> os_failure(int errnum) { return std::unexpected(Failure {errnum, nullptr}); }
std::unexpected<Failure> type_changed() { return std::unexpected(Failure {0, k_type_changed}); }

std::expected<std::string, Failure> read_link(int folder, const char* name, off_t size_hint)
{
    size_t size = size_hint > 0 ? static_cast<size_t>(size_hint) + 1 : 256;
    for (;;) {
        std::string text(size, '\0');
        ssize_t n = ::readlinkat(folder, name, text.data(), size);
        if (n < 0)
            return errno == EINVAL ? type_changed() : os_failure(errno);
        if (static_cast<size_t>(n) < size) {
            text.resize(static_cast<size_t>(n));
            return text;
        }
        // The link grew since its status was read.
        if (size >= k_link_text_limit)
            return os_failure(ENAMETOOLONG);
        size *= 2;
    }
}

// The source's permission bits. Set-user-ID and set-group-ID mean "run as the file's owner or
// group"; the copy belongs to whoever copies, so the bits only stay where that identity is the
// same, else a copy by root of someone's set-user-ID program would run as root.
mode_t copied_mode(const struct stat& source, int target_fd)
{
    mode_t mode = source.st_mode & 07777;
    struct stat target;
    if ((mode & (S_ISUID | S_ISGID)) == 0)
        return mode;
    if (::fstat(target_fd, &target) != 0)
        return mode & ~(S_ISUID | S_ISGID);
    if (target.st_uid != source.st_uid)
        mode &= ~S_ISUID;
    if (target.st_gid != source.st_gid)
        mode &= ~S_ISGID;
    return mode;
}

// A folder being copied: the source listing, the target folder, and the mode the target gets
// once all its entries are in, so that a read-only folder can still be filled.
struct Frame {
    DirStream source;
    UniqueFd target;
    mode_t mode = 0;
};

// Walks the tree with an explicit stack of open folders instead of recursion, so depth is bound
// by the open-file limit (failing cleanly with "Too many open files") rather than by the stack.
class TreeCopier {
public:
    Result run(int source_folder, const char* name, int target_folder, const char* target_name)
    {
        if (auto first = copy_entry(source_folder, name, target_folder, target_name); !first)
            return first;
        while (!m_stack.empty()) {
            errno = 0;
            struct dirent* entry = ::readdir(m_stack.back().source.get());
            if (!entry) {
                if (errno != 0)
                    return os_failure(errno);
                Frame done = std::move(m_stack.back());
                m_stack.pop_back();
                if (::fchmod(done.target.get(), done.mode) != 0)
                    return os_failure(errno);
                continue;
            }
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            const Frame& top = m_stack.back();
            if (auto copied = copy_entry(top.source.fd(), entry->d_name, top.target.get(), entry->d_name); !copied)
                return copied;
        }
        return {};
    }

private:
    Result copy_entry(int source_folder, const char* name, int target_folder, const char* target_name)
    {
        struct stat status;
        if (::fstatat(source_folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return os_failure(errno);
        if (S_ISLNK(status.st_mode))
            return copy_link(source_folder, name, status, target_folder, target_name);
        // Devices, sockets and pipes are never opened: opening some devices has effects.
        if (!S_ISDIR(status.st_mode) && !S_ISREG(status.st_mode))
            return type_changed();
        if (const auto& hook = between_status_and_open())
            hook(source_folder, name);
        // Non-blocking, so that a pipe swapped in after the status query cannot stall the copy.
        UniqueFd source(::openat(source_folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!source)
            return errno == ELOOP ? type_changed() : os_failure(errno);
        struct stat opened;
        if (::fstat(source.get(), &opened) != 0)
            return os_failure(errno);
        if ((opened.st_mode & S_IFMT) != (status.st_mode & S_IFMT))
            return type_changed();
        if (S_ISDIR(opened.st_mode))
            return enter_folder(std::move(source), opened, target_folder, target_name);
        return copy_file(std::move(source), opened, target_folder, target_name);
    }

    Result copy_link(int source_folder, const char* name, const struct stat& status, int target_folder,
                     const char* target_name)
    {
        auto text = read_link(source_folder, name, status.st_size);
        if (!text)
            return std::unexpected(text.error());
        if (::symlinkat(text->c_str(), target_folder, target_name) != 0)
            return os_failure(errno);
        return {};
    }

    Result copy_file(UniqueFd source, const struct stat& status, int target_folder, const char* target_name)
    {
        int flags = ::fcntl(source.get(), F_GETFL);
        if (flags >= 0)
            ::fcntl(source.get(), F_SETFL, flags & ~O_NONBLOCK);
        UniqueFd target(::openat(target_folder, target_name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!target)
            return os_failure(errno);
        if (auto copied = m_content.copy(source.get(), target.get()); !copied)
            return os_failure(copied.error());
        if (::fchmod(target.get(), copied_mode(status, target.get())) != 0)
            return os_failure(errno);
        return {};
    }

    Result enter_folder(UniqueFd source, const struct stat& status, int target_folder, const char* target_name)
    {
        if (::mkdirat(target_folder, target_name, 0777) != 0)
            return os_failure(errno);
        UniqueFd target(::openat(target_folder, target_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!target)
            return os_failure(errno);
        DirStream listing(std::move(source));
        if (!listing)
            return os_failure(errno);
        m_stack.push_back({std::move(listing), std::move(target), static_cast<mode_t>(status.st_mode & 07777)});
        return {};
    }

    std::vector<Frame> m_stack;
    ContentCopier m_content;
};

UniqueFd open_folder(const std::filesystem::path& folder)
{
    return UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}

void CopyTreeTestApi::set_between_status_and_open(Hook hook) { between_status_and_open() = std::move(hook); }

std::expected<void, std::string> copy_tree(const std::filesystem::path& source, const std::filesystem::path& target)
{
    std::filesystem::path item = item_path(source);
    auto source_parent = parent_folder(item);
    if (!source_parent)
        return std::unexpected("source has no parent directory");
    auto source_name = final_name(item);
    if (!source_name)
        return std::unexpected("source has no file name");
    std::filesystem::path target_item = item_path(target);
    auto target_parent = parent_folder(target_item);
    auto target_name = final_name(target_item);
    if (!target_parent || !target_name)
        return std::unexpected("target has no file name");

    UniqueFd source_folder = open_folder(*source_parent);
    if (!source_folder)
        return std::unexpected(os_text(errno));
    UniqueFd target_folder = open_folder(*target_parent);
    if (!target_folder)
        return std::unexpected(os_text(errno));
    Result copied = TreeCopier().run(source_folder.get(), source_name->c_str(), target_folder.get(), target_name->c_str());
    if (!copied)
        return std::unexpected(copied.error().text());
    return {};
}

}
