#include "thumbnail_epub.hpp"

#include "thumbnail_epub_package.hpp"
#include "thumbnail_file.hpp"

#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <unistd.h>

namespace kavo_services::thumbs {

namespace {

constexpr size_t k_max_container_bytes = 64 << 10;
constexpr size_t k_max_package_bytes = 1 << 20;
constexpr size_t k_max_cover_bytes = 16 << 20;
// A book has hundreds of entries; far more is a hostile archive.
constexpr int k_max_entries = 100000;

struct ArchiveFree {
    void operator()(archive* a) const { archive_read_free(a); }
};

// The bytes of one entry, at most max_bytes, whatever size the entry's header claims.
std::expected<std::string, std::string> read_entry(int fd, std::string_view name, size_t max_bytes)
{
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return std::unexpected(std::string("cannot rewind the book"));
    std::unique_ptr<archive, ArchiveFree> reader(archive_read_new());
    if (!reader)
        return std::unexpected(std::string("out of memory"));
    // Only the seekable ZIP reader: it takes the central directory, and no other format or
    // filter is ever tried on a file named .epub.
    archive_read_support_format_zip_seekable(reader.get());
    if (archive_read_open_fd(reader.get(), fd, 64 << 10) != ARCHIVE_OK)
        return std::unexpected(std::string("not a ZIP archive"));
    archive_entry* entry = nullptr;
    for (int i = 0; i < k_max_entries; ++i) {
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status < ARCHIVE_WARN)
            return std::unexpected(std::string("broken ZIP archive"));
        const char* entry_name = archive_entry_pathname_utf8(entry);
        if (!entry_name)
            entry_name = archive_entry_pathname(entry);
        if (!entry_name || name != entry_name)
            continue;
        if (archive_entry_size_is_set(entry) && static_cast<uint64_t>(archive_entry_size(entry)) > max_bytes)
            return std::unexpected(std::string("entry too large"));
        std::string bytes;
        char buffer[64 << 10];
        for (;;) {
            const la_ssize_t n = archive_read_data(reader.get(), buffer, sizeof buffer);
            if (n == 0)
                return bytes;
            if (n < 0)
                return std::unexpected(std::string("broken ZIP entry"));
            if (bytes.size() + static_cast<size_t>(n) > max_bytes)
                return std::unexpected(std::string("entry too large"));
            bytes.append(buffer, static_cast<size_t>(n));
        }
    }
    return std::unexpected(std::string("entry missing: ") + std::string(name));
}

}

Decoded decode_epub_cover(const std::filesystem::path& path)
{
    auto file = RegularFile::open(path);
    if (!file)
        return std::unexpected(file.error());
    auto container = read_entry(file->fd(), "META-INF/container.xml", k_max_container_bytes);
    if (!container)
        return std::unexpected(container.error());
    auto package_path = package_path_from_container(*container);
    if (!package_path)
        return std::unexpected(package_path.error());
    auto package = read_entry(file->fd(), *package_path, k_max_package_bytes);
    if (!package)
        return std::unexpected(package.error());
    auto href = cover_href_from_package(*package);
    if (!href)
        return std::unexpected(href.error());
    auto cover_path = resolve_package_href(*package_path, *href);
    if (!cover_path)
        return std::unexpected(cover_path.error());
    auto cover = read_entry(file->fd(), *cover_path, k_max_cover_bytes);
    if (!cover)
        return std::unexpected(cover.error());
    return decode_image_bytes(*cover);
}

}
