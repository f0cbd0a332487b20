#include "fileops/file_content.hpp"

#include <cerrno>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/sendfile.h>
#include <unistd.h>

namespace files::fileops {

namespace {

// The kernel caps one call a little below 2 GiB; a 1 GiB request keeps big files to a few calls.
constexpr size_t k_kernel_chunk = size_t(1) << 30;
constexpr size_t k_buffer_size = size_t(256) << 10;

// Errors that say the facility does not apply to these two files, not that the copy failed.
bool means_unsupported(int errnum)
{
    return errnum == EXDEV || errnum == ENOSYS || errnum == EINVAL || errnum == EOPNOTSUPP || errnum == ENOTTY;
}

}

std::expected<void, int> ContentCopier::copy(int from, int to)
{
    if (try_clone(from, to))
        return {};
    if (m_range) {
        auto outcome = copy_by_range(from, to);
        if (!outcome || *outcome == Outcome::Done)
            return outcome ? std::expected<void, int> {} : std::unexpected(outcome.error());
    }
    if (m_sendfile) {
        auto outcome = copy_by_sendfile(from, to);
        if (!outcome || *outcome == Outcome::Done)
            return outcome ? std::expected<void, int> {} : std::unexpected(outcome.error());
    }
    return copy_by_read_write(from, to);
}

bool ContentCopier::try_clone(int from, int to)
{
    if (!m_clone)
        return false;
    if (::ioctl(to, FICLONE, from) == 0)
        return true;
    if (means_unsupported(errno))
        m_clone = false;
    return false;
}

// Each fallback goes on from the current offsets of both files, so a facility that gives up in
// the middle of a file leaves nothing to redo.
std::expected<ContentCopier::Outcome, int> ContentCopier::copy_by_range(int from, int to)
{
    bool copied = false;
    for (;;) {
        ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, k_kernel_chunk, 0);
        if (n > 0) {
            copied = true;
            continue;
        }
        // Some file systems (proc, sys) report an empty file that still reads; the read loop
        // settles it with one read.
        if (n == 0)
            return copied ? Outcome::Done : Outcome::Fallback;
        if (errno == EINTR)
            continue;
        if (!means_unsupported(errno))
            return std::unexpected(errno);
        if (!copied)
            m_range = false;
        return Outcome::Fallback;
    }
}

std::expected<ContentCopier::Outcome, int> ContentCopier::copy_by_sendfile(int from, int to)
{
    bool copied = false;
    for (;;) {
        ssize_t n = ::sendfile(to, from, nullptr, k_kernel_chunk);
        if (n > 0) {
            copied = true;
            continue;
        }
        if (n == 0)
            return copied ? Outcome::Done : Outcome::Fallback;
        if (errno == EINTR)
            continue;
        if (!means_unsupported(errno))
            return std::unexpected(errno);
        if (!copied)
            m_sendfile = false;
        return Outcome::Fallback;
    }
}

std::expected<void, int> ContentCopier::copy_by_read_write(int from, int to)
{
    if (!m_buffer)
        m_buffer = std::make_unique<char[]>(k_buffer_size);
    for (;;) {
        ssize_t n = ::read(from, m_buffer.get(), k_buffer_size);
        if (n == 0)
            return {};
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::unexpected(errno);
        }
        for (ssize_t written = 0; written < n;) {
            ssize_t w = ::write(to, m_buffer.get() + written, static_cast<size_t>(n - written));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return std::unexpected(errno);
            }
            written += w;
        }
    }
}

}
