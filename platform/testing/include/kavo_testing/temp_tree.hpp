#pragma once

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace kavo_testing {

// A unique folder under $TMPDIR (or /tmp) for one test, removed with everything in it when the
// tree goes out of scope, also after a test took permissions away inside it. Relative names may
// hold any bytes, so a tree can hold names that are not valid UTF-8. Set-up failures throw, which
// GoogleTest reports as a failure of the test that asked.
class TempTree {
public:
    TempTree() : TempTree(default_base()) { }
    // A tree below `base`, for tests that need a folder on another file system.
    explicit TempTree(const std::filesystem::path& base)
    {
        std::string pattern = (base / "kavo-test-XXXXXX").native();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed for " + pattern);
        // Stored without symbolic links, so the paths the library records compare equal.
        char resolved[PATH_MAX];
        if (!::realpath(pattern.c_str(), resolved))
            throw std::runtime_error("realpath failed for " + pattern);
        m_root = resolved;
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    ~TempTree() { remove_everything(m_root); }

    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path path(const std::filesystem::path& rel = {}) const { return rel.empty() ? m_root : m_root / rel; }

    // Creates the file (and its missing parent folders) holding `content`.
    std::filesystem::path file(const std::filesystem::path& rel, std::string_view content = {})
    {
        auto p = path(rel);
        std::filesystem::create_directories(p.parent_path());
        int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            throw std::runtime_error("cannot create " + p.string());
        bool ok = ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
        ::close(fd);
        if (!ok)
            throw std::runtime_error("cannot write " + p.string());
        return p;
    }

    std::filesystem::path folder(const std::filesystem::path& rel)
    {
        auto p = path(rel);
        std::filesystem::create_directories(p);
        return p;
    }

    // Creates the link `rel` pointing at `target`, which is stored as given and need not exist.
    std::filesystem::path symlink(const std::filesystem::path& target, const std::filesystem::path& rel)
    {
        auto p = path(rel);
        std::filesystem::create_directories(p.parent_path());
        if (::symlink(target.c_str(), p.c_str()) != 0)
            throw std::runtime_error("cannot create link " + p.string());
        return p;
    }

    // Lets other users (such as the child of run_unprivileged) reach the tree's contents; the
    // tree's own folder is created private.
    void open_to_everyone() { ::chmod(m_root.c_str(), 0755); }

private:
    static std::filesystem::path default_base()
    {
        const char* tmp = std::getenv("TMPDIR");
        return tmp && *tmp ? std::filesystem::path(tmp) : std::filesystem::path("/tmp");
    }

    // Gives folders back their permissions on the way down, so that a non-root run can remove
    // what a test locked.
    static void remove_everything(const std::filesystem::path& top)
    {
        struct stat st;
        if (::lstat(top.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            ::chmod(top.c_str(), 0700);
            std::error_code ec;
            for (const auto& child : std::filesystem::directory_iterator(top, ec))
                remove_everything(child.path());
        }
        std::error_code ec;
        std::filesystem::remove(top, ec);
    }

    std::filesystem::path m_root;
};

}
