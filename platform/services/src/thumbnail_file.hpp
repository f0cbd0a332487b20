#pragma once

#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>

namespace kavo_services::thumbs {

// An open descriptor of a regular file, closed on destruction.
class RegularFile {
public:
    // Refuses anything but a regular file, so a FIFO or a device named like a picture never
    // blocks a worker.
    static std::expected<RegularFile, std::string> open(const std::filesystem::path& path);
    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile();

    int fd() const { return m_fd; }
    uint64_t size() const { return m_size; }
    // A path that opens this very file again, for libraries that only take a name.
    std::string proc_path() const;
    // Hands the descriptor over; the caller closes it.
    int release();

private:
    RegularFile(int fd, uint64_t size) : m_fd(fd), m_size(size) {}
    int m_fd = -1;
    uint64_t m_size = 0;
};

// The value of an extended attribute of at most max_bytes; an attribute that is missing, empty,
// larger or unreadable is an error.
std::expected<std::string, std::string> read_attribute(const std::filesystem::path& path, const char* name,
                                                       size_t max_bytes);

}
