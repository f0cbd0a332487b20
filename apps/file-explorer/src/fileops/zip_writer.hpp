#pragma once

#include <archive.h>
#include <expected>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace files::fileops {

// libarchive's ZIP writer on an open file: deflated members, folders added with everything in
// them in directory-listing order, links and special files left out. Names are UTF-8 text.
class ZipWriter {
public:
    explicit ZipWriter(int fd);
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;
    ~ZipWriter();

    std::expected<void, std::string> open();
    // Adds the item `name` of the folder `dir_fd` (AT_FDCWD with a path for a selected item)
    // as `archive_name`, a folder with its contents; links and special files are skipped.
    std::expected<void, std::string> add(int dir_fd, const char* name, const std::string& archive_name);
    // Writes the central directory.
    std::expected<void, std::string> finish();

private:
    std::unexpected<std::string> library_error() const;
    std::expected<void, std::string> write_header(const std::string& archive_name, const struct stat& st, mode_t type);
    std::expected<void, std::string> add_folder(int dir_fd, const char* name, const std::string& archive_name);
    std::expected<void, std::string> add_file(int dir_fd, const char* name, const std::string& archive_name);

    struct archive* m_archive;
    int m_fd;
    std::unique_ptr<char[]> m_buffer;
};

}
