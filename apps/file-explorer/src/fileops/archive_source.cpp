#include "fileops/archive_source.hpp"

#include "kavo_services/error.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files::fileops {

std::expected<std::unique_ptr<ArchiveSource>, std::string> ArchiveSource::open(const std::filesystem::path& path)
{
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0)
        return std::unexpected(kavo_services::Error::from_errno(errno).text);
    return std::unique_ptr<ArchiveSource>(new ArchiveSource(std::move(fd), st.st_size));
}

ArchiveSource::ArchiveSource(UniqueFd fd, int64_t size) : m_fd(std::move(fd)), m_size(size), m_buffer(new char[k_buffer_size]) {}

void ArchiveSource::attach(struct archive* reader)
{
    archive_read_set_read_callback(reader, [](struct archive* a, void* self, const void** data) {
        return static_cast<ArchiveSource*>(self)->read(a, data);
    });
    archive_read_set_seek_callback(reader, [](struct archive*, void* self, la_int64_t offset, int whence) {
        return static_cast<ArchiveSource*>(self)->seek(offset, whence);
    });
    archive_read_set_skip_callback(reader, [](struct archive*, void* self, la_int64_t request) {
        return static_cast<ArchiveSource*>(self)->skip(request);
    });
    archive_read_set_callback_data(reader, this);
}

la_ssize_t ArchiveSource::read(struct archive* reader, const void** data)
{
    if (m_pos < m_buffer_start || m_pos >= m_buffer_start + m_buffer_length) {
        ssize_t n;
        do
            n = ::pread(m_fd.get(), m_buffer.get(), k_buffer_size, m_pos);
        while (n < 0 && errno == EINTR);
        if (n < 0) {
            int error = errno;
            archive_set_error(reader, error, "%s", kavo_services::Error::from_errno(error).text.c_str());
            return -1;
        }
        m_buffer_start = m_pos;
        m_buffer_length = n;
        if (n == 0)
            return 0;
    }
    int64_t skipped = m_pos - m_buffer_start;
    *data = m_buffer.get() + skipped;
    la_ssize_t available = m_buffer_length - skipped;
    m_pos += available;
    return available;
}

la_int64_t ArchiveSource::seek(la_int64_t offset, int whence)
{
    int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m_pos : m_size;
    int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target) || target < 0)
        return ARCHIVE_FATAL;
    m_pos = target;
    return target;
}

la_int64_t ArchiveSource::skip(la_int64_t request)
{
    int64_t n = request < m_size - m_pos ? request : m_size - m_pos;
    if (n <= 0)
        return 0;
    m_pos += n;
    return n;
}

}
