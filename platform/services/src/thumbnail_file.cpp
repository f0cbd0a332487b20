#include "thumbnail_file.hpp"

#include "kavo_services/error.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

namespace kavo_services::thumbs {

std::expected<RegularFile, std::string> RegularFile::open(const std::filesystem::path& path)
{
    // O_NONBLOCK so that opening a FIFO returns at once; it is refused below.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return std::unexpected(Error::from_errno(errno, "open").text);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::unexpected(std::string("not a regular file"));
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return RegularFile(fd, static_cast<uint64_t>(st.st_size));
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_size(other.m_size)
{
}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_size = other.m_size;
    }
    return *this;
}

RegularFile::~RegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::string RegularFile::proc_path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

int RegularFile::release() { return std::exchange(m_fd, -1); }

std::expected<std::string, std::string> read_attribute(const std::filesystem::path& path, const char* name,
                                                       size_t max_bytes)
{
    // Read into a buffer one byte larger than the bound: a value that fills it is too large,
    // without a separate size query that could race with a writer.
    std::string value(max_bytes + 1, '\0');
    ssize_t n = ::getxattr(path.c_str(), name, value.data(), value.size());
    if (n < 0) {
        if (errno == ERANGE)
            return std::unexpected(std::string("attribute too large"));
        return std::unexpected(Error::from_errno(errno, "getxattr").text);
    }
    if (n == 0)
        return std::unexpected(std::string("attribute empty"));
    if (static_cast<size_t>(n) > max_bytes)
        return std::unexpected(std::string("attribute too large"));
    value.resize(static_cast<size_t>(n));
    return value;
}

}
