#pragma once

#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <expected>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace files::test_support {

using namespace kavo_testing;

// A TempTree on /dev/shm, a tmpfs and so another file system than $TMPDIR, for moves that cannot
// be a rename.
class OtherFileSystemTree {
public:
    OtherFileSystemTree()
    {
        std::optional<std::string> old;
        if (const char* tmp = std::getenv("TMPDIR"))
            old = tmp;
        ::setenv("TMPDIR", "/dev/shm", 1);
        m_tree.emplace();
        if (old)
            ::setenv("TMPDIR", old->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    TempTree& tree() { return *m_tree; }

private:
    std::optional<TempTree> m_tree;
};

inline std::string read_all(const std::filesystem::path& path)
{
    std::string content;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path.string());
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        content.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    return content;
}

// FNV-1a over the whole content, read in pieces so that big files need no big buffer.
inline std::string content_digest(const std::filesystem::path& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path.string());
    uint64_t hash = 14695981039346656037ull;
    uint64_t size = 0;
    static thread_local std::vector<unsigned char> buffer(1 << 20);
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) {
        for (ssize_t i = 0; i < n; ++i)
            hash = (hash ^ buffer[static_cast<size_t>(i)]) * 1099511628211ull;
        size += static_cast<uint64_t>(n);
    }
    ::close(fd);
    return std::to_string(size) + ":" + std::to_string(hash);
}

inline mode_t mode_of(const std::filesystem::path& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        throw std::runtime_error("cannot stat " + path.string());
    return st.st_mode & 07777;
}

inline bool exists_here(const std::filesystem::path& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The names in a folder, sorted.
inline std::vector<std::string> names_in(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The failure text of a step, empty on success, so that a failing check shows it.
template <typename T>
std::string failure_text(const std::expected<T, std::string>& result)
{
    return result ? std::string() : result.error();
}

inline bool is_transfer_leftover(const std::string& name) { return name.starts_with(".kavo-transfer-"); }

// What a tree holds, entry by entry: type, permission bits, file content or link text. Two
// trees with the same snapshot are copies of each other in everything the engine carries over.
using TreeSnapshot = std::map<std::string, std::string>;

inline TreeSnapshot snapshot(const std::filesystem::path& top)
{
    TreeSnapshot result;
    auto describe = [&](const std::filesystem::path& path, const std::string& rel) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0)
            throw std::runtime_error("cannot stat " + path.string());
        std::string mode = std::to_string(st.st_mode & 07777);
        if (S_ISLNK(st.st_mode))
            result[rel] = "link " + std::filesystem::read_symlink(path).string();
        else if (S_ISDIR(st.st_mode))
            result[rel] = "folder " + mode;
        else
            result[rel] = "file " + mode + " " + content_digest(path);
    };
    describe(top, ".");
    struct stat st;
    if (::lstat(top.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(top))
            describe(entry.path(), entry.path().lexically_relative(top).string());
    }
    return result;
}

// Names that appeared in a folder (created or moved in) since the watch began; the kernel queues
// the events before the call that caused them returns, so no waiting is needed.
class AppearanceWatch {
public:
    explicit AppearanceWatch(const std::filesystem::path& folder)
    {
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd < 0 || ::inotify_add_watch(m_fd, folder.c_str(), IN_CREATE | IN_MOVED_TO) < 0)
            throw std::runtime_error("cannot watch " + folder.string());
    }
    AppearanceWatch(const AppearanceWatch&) = delete;
    AppearanceWatch& operator=(const AppearanceWatch&) = delete;
    ~AppearanceWatch() { ::close(m_fd); }

    std::vector<std::string> names()
    {
        alignas(inotify_event) char buffer[65536];
        for (ssize_t n; (n = ::read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (char* p = buffer; p < buffer + n;) {
                auto* event = reinterpret_cast<inotify_event*>(p);
                if (event->len > 0)
                    m_names.emplace_back(event->name);
                p += sizeof(inotify_event) + event->len;
            }
        }
        return m_names;
    }

private:
    int m_fd = -1;
    std::vector<std::string> m_names;
};

}
