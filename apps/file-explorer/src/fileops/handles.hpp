#pragma once

#include <dirent.h>
#include <unistd.h>
#include <utility>

namespace files::fileops {

// An owned file descriptor, closed when the owner goes away.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    ~UniqueFd() { reset(); }

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    int release() { return std::exchange(m_fd, -1); }
    void reset()
    {
        // Linux releases the descriptor even when close reports EINTR, so it is never retried.
        if (m_fd >= 0)
            ::close(std::exchange(m_fd, -1));
    }

private:
    int m_fd = -1;
};

// An owned directory stream; its descriptor doubles as the folder handle for *at calls.
class DirStream {
public:
    DirStream() = default;
    // Takes the descriptor over; on failure it is closed and the stream is empty.
    explicit DirStream(UniqueFd fd)
    {
        m_dir = ::fdopendir(fd.get());
        if (m_dir)
            fd.release();
    }
    DirStream(DirStream&& other) noexcept : m_dir(std::exchange(other.m_dir, nullptr)) {}
    DirStream& operator=(DirStream&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_dir = std::exchange(other.m_dir, nullptr);
        }
        return *this;
    }
    ~DirStream() { reset(); }

    explicit operator bool() const { return m_dir != nullptr; }
    DIR* get() const { return m_dir; }
    int fd() const { return ::dirfd(m_dir); }
    void reset()
    {
        if (m_dir)
            ::closedir(std::exchange(m_dir, nullptr));
    }

private:
    DIR* m_dir = nullptr;
};

}
