#include "fileops/archive_create.hpp"

#include "fileops/unique_fd.hpp"
#include "fileops/utf8_names_scope.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace files::fileops {

namespace {

std::unexpected<std::string> failure(int error, std::string_view context)
{
    return std::unexpected(kavo_services::Error::from_errno(error, context).text);
}

// The part file: created exclusively, so that neither a file of that name nor a link planted
// there is ever truncated, and removed again unless it was renamed into place.
class PartFile {
public:
    static std::expected<PartFile, std::string> create(std::filesystem::path path)
    {
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!fd)
            return failure(errno, kavo_services::lossy_utf8(path));
        return PartFile(std::move(path), std::move(fd));
    }
    PartFile(PartFile&& other) noexcept : m_path(std::exchange(other.m_path, {})), m_fd(std::move(other.m_fd)) {}
    PartFile& operator=(PartFile&&) = delete;
    ~PartFile()
    {
        m_fd.reset();
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }

    int fd() const { return m_fd.get(); }

    // Flushes the file to disk and gives it its final name.
    std::expected<void, std::string> commit(const std::filesystem::path& final_path)
    {
        std::string context = kavo_services::lossy_utf8(m_path);
        if (::fsync(m_fd.get()) != 0)
            return failure(errno, context);
        if (::close(m_fd.release()) != 0)
            return failure(errno, context);
        if (::renameat2(AT_FDCWD, m_path.c_str(), AT_FDCWD, final_path.c_str(), RENAME_NOREPLACE) != 0)
            return failure(errno, kavo_services::lossy_utf8(final_path));
        m_path.clear();
        return {};
    }

private:
    PartFile(std::filesystem::path path, UniqueFd fd) : m_path(std::move(path)), m_fd(std::move(fd)) {}

    std::filesystem::path m_path;
    UniqueFd m_fd;
};

class ZipWriter {
public:
    explicit ZipWriter(int fd) : m_archive(archive_write_new()), m_fd(fd) {}
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;
    ~ZipWriter() { archive_write_free(m_archive); }

    std::expected<void, std::string> open()
    {
        if (!m_archive)
            return failure(ENOMEM, "zip");
        if (archive_write_set_format_zip(m_archive) != ARCHIVE_OK || archive_write_zip_set_compression_deflate(m_archive) != ARCHIVE_OK
            // Without this the last block is padded with zeros behind the central directory.
            || archive_write_set_bytes_in_last_block(m_archive, 1) != ARCHIVE_OK
            || archive_write_open_fd(m_archive, m_fd) != ARCHIVE_OK)
            return library_error();
        return {};
    }

    // Adds the item `name` of the folder `dir_fd` (AT_FDCWD with a path for a selected item)
    // as `archive_name`, a folder with its contents; links and special files are skipped.
    std::expected<void, std::string> add(int dir_fd, const char* name, const std::string& archive_name)
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

    std::expected<void, std::string> finish()
    {
        if (archive_write_close(m_archive) != ARCHIVE_OK)
            return library_error();
        return {};
    }

private:
    std::unexpected<std::string> library_error() const
    {
        if (const char* text = archive_error_string(m_archive))
            return std::unexpected(std::string(text));
        return failure(archive_errno(m_archive) > 0 ? archive_errno(m_archive) : EIO, "zip");
    }

    std::expected<void, std::string> write_header(const std::string& archive_name, const struct stat& st, mode_t type)
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

    std::expected<void, std::string> add_folder(int dir_fd, const char* name, const std::string& archive_name)
    {
        UniqueFd folder(::openat(dir_fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        if (!folder || ::fstat(folder.get(), &st) != 0)
            return failure(errno, archive_name);
        if (auto written = write_header(archive_name + "/", st, AE_IFDIR); !written)
            return written;
        // The names are read first so that only one descriptor per level stays open while the
        // subfolders are added.
        auto children = list_names(folder.get(), archive_name);
        if (!children)
            return std::unexpected(std::move(children.error()));
        for (const std::string& child : *children) {
            if (auto added = add(folder.get(), child.c_str(), archive_name + "/" + kavo_services::lossy_utf8(std::string_view(child))); !added)
                return added;
        }
        return {};
    }

    static std::expected<std::vector<std::string>, std::string> list_names(int folder, const std::string& archive_name)
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
            std::string_view n(d->d_name);
            if (n != "." && n != "..")
                names.emplace_back(n);
            errno = 0;
        }
        int error = errno;
        ::closedir(dir);
        if (error != 0)
            return failure(error, archive_name);
        return names;
    }

    std::expected<void, std::string> add_file(int dir_fd, const char* name, const std::string& archive_name)
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

    static constexpr size_t k_buffer_size = 256 * 1024;

    struct archive* m_archive;
    int m_fd;
    std::unique_ptr<char[]> m_buffer;
};

}

std::expected<void, std::string> create_zip(const std::filesystem::path& zip_path, const std::vector<std::filesystem::path>& sources)
{
    std::filesystem::path part_path = zip_path;
    part_path.replace_extension("zip.part");
    auto part = PartFile::create(part_path);
    if (!part)
        return std::unexpected(std::move(part.error()));
    {
        Utf8NamesScope utf8_names;
        ZipWriter writer(part->fd());
        if (auto opened = writer.open(); !opened)
            return opened;
        for (const std::filesystem::path& source : sources) {
            std::filesystem::path name = source.filename();
            if (name.empty())
                return std::unexpected(std::string("path has no file name"));
            if (auto added = writer.add(AT_FDCWD, source.c_str(), kavo_services::lossy_utf8(name)); !added)
                return added;
        }
        if (auto finished = writer.finish(); !finished)
            return finished;
    }
    return part->commit(zip_path);
}

}
