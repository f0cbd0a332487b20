#pragma once

#include "kavo_services/unique_fd.hpp"

#include <dirent.h>
#include <unistd.h>
#include <utility>

namespace files::fileops {

using kavo_services::UniqueFd;

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
