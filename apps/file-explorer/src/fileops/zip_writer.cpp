#include "fileops/zip_writer.hpp"

#include "fileops/unique_fd.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"

#include <archive_entry.h>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace files::fileops {

namespace {

constexpr size_t k_buffer_size = 256 * 1024;

std::unexpected<std::string> failure(int error, std::string_view context)
{
    return std::unexpected(kavo_services::Error::from_errno(error, context).text);
}

// The names in a folder in listing order, read before any of them is added so that only one
// descriptor per level stays open while the subfolders are.
std::expected<std::vector<std::string>, std::string> list_names(int folder, const std::string& archive_name)
{
    int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir) {
        int error = errno;
        if (fd >= 0)
            ::close(fd);
        return failure(error, archive_name);
    }
    std::vector<std::string> names;
    errno = 0;
    while (dirent* d = ::readdir(dir)) {
        std::string_view name(d->d_name);
        if (name != "." && name != "..")
            names.emplace_back(name);
        errno = 0;
    }
    int error = errno;
    ::closedir(dir);
    if (error != 0)
        return failure(error, archive_name);
    return names;
}

}

ZipWriter::ZipWriter(int fd) : m_archive(archive_write_new()), m_fd(fd) {}

ZipWriter::~ZipWriter() { archive_write_free(m_archive); }

std::expected<void, std::string> ZipWriter::open()
{
    if (!m_archive)
        return failure(ENOMEM, "zip");
    if (archive_write_set_format_zip(m_archive) != ARCHIVE_OK || archive_write_zip_set_compression_deflate(m_archive) != ARCHIVE_OK
        // Without this the last block is padded with zeros behind the central directory.
        || archive_write_set_bytes_in_last_block(m_archive, 1) != ARCHIVE_OK || archive_write_open_fd(m_archive, m_fd) != ARCHIVE_OK)
        return library_error();
    return {};
}

std::expected<void, std::string> ZipWriter::add(int dir_fd, const char* name, const std::string& archive_name)
{
    struct stat st {};
    if (::fstatat(dir_fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return failure(errno, archive_name);
    if (S_ISDIR(st.st_mode))
        return add_folder(dir_fd, name, archive_name);
    if (S_ISREG(st.st_mode))
        return add_file(dir_fd, name, archive_name);
    return {};
}

std::expected<void, std::string> ZipWriter::finish()
{
    if (archive_write_close(m_archive) != ARCHIVE_OK)
        return library_error();
    return {};
}

std::unexpected<std::string> ZipWriter::library_error() const
{
    if (const char* text = archive_error_string(m_archive))
        return std::unexpected(std::string(text));
    return failure(archive_errno(m_archive) > 0 ? archive_errno(m_archive) : EIO, "zip");
}

std::expected<void, std::string> ZipWriter::write_header(const std::string& archive_name, const struct stat& st, mode_t type)
{
    std::unique_ptr<archive_entry, void (*)(archive_entry*)> entry(archive_entry_new(), archive_entry_free);
    if (!entry)
        return failure(ENOMEM, archive_name);
    archive_entry_set_pathname_utf8(entry.get(), archive_name.c_str());
    archive_entry_set_filetype(entry.get(), type);
    archive_entry_set_perm(entry.get(), st.st_mode & 07777);
    archive_entry_set_size(entry.get(), type == AE_IFREG ? st.st_size : 0);
    archive_entry_set_mtime(entry.get(), st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    if (archive_write_header(m_archive, entry.get()) < ARCHIVE_WARN)
        return library_error();
    return {};
}

std::expected<void, std::string> ZipWriter::add_folder(int dir_fd, const char* name, const std::string& archive_name)
{
    UniqueFd folder(::openat(dir_fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!folder || ::fstat(folder.get(), &st) != 0)
        return failure(errno, archive_name);
    if (auto written = write_header(archive_name + "/", st, AE_IFDIR); !written)
        return written;
    auto children = list_names(folder.get(), archive_name);
    if (!children)
        return std::unexpected(std::move(children.error()));
    for (const std::string& child : *children) {
        std::string child_name = archive_name + "/" + kavo_services::lossy_utf8(std::string_view(child));
        if (auto added = add(folder.get(), child.c_str(), child_name); !added)
            return added;
    }
    return {};
}

std::expected<void, std::string> ZipWriter::add_file(int dir_fd, const char* name, const std::string& archive_name)
{
    // O_NONBLOCK keeps a fifo swapped in since the status read from blocking the open.
    UniqueFd file(::openat(dir_fd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!file || ::fstat(file.get(), &st) != 0)
        return failure(errno, archive_name);
    if (!S_ISREG(st.st_mode))
        return {};
    if (auto written = write_header(archive_name, st, AE_IFREG); !written)
        return written;
    if (!m_buffer)
        m_buffer.reset(new char[k_buffer_size]);
    for (;;) {
        ssize_t n = ::read(file.get(), m_buffer.get(), k_buffer_size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failure(errno, archive_name);
        if (n == 0)
            return {};
        if (archive_write_data(m_archive, m_buffer.get(), size_t(n)) < 0)
            return library_error();
    }
}

}
