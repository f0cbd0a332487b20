#include "fileops/archive_reader.hpp"

#include "fileops/archive_paths.hpp"
#include "fileops/archive_source.hpp"
#include "fileops/ascii_nocase.hpp"
#include "fileops/utf8_names_scope.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <unistd.h>

namespace files::fileops {

namespace {

ArchiveKind reader_kind(const std::filesystem::path& path)
{
    std::string_view name(path.native());
    if (size_t slash = name.rfind('/'); slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    size_t dot = name.rfind('.');
    std::string_view extension = dot == std::string_view::npos || dot == 0 ? std::string_view() : name.substr(dot + 1);
    if (equals_ascii_nocase(extension, "zip"))
        return ArchiveKind::Zip;
    if (equals_ascii_nocase(extension, "gz") || equals_ascii_nocase(extension, "tgz"))
        return ArchiveKind::TarGz;
    return ArchiveKind::Tar;
}

// libarchive's own text, or the system's for its errno; some failures (a gzip stream that lacks
// its trailer) come with neither.
std::optional<std::string> error_text_of(struct archive* a)
{
    if (const char* text = archive_error_string(a))
        return text;
    if (int error = archive_errno(a); error > 0)
        return kavo_services::Error::from_errno(error).text;
    return std::nullopt;
}

std::string error_text(struct archive* a) { return error_text_of(a).value_or("unreadable archive"); }

}

std::expected<std::unique_ptr<ArchiveReader>, std::string> ArchiveReader::open(const std::filesystem::path& path)
{
    Utf8NamesScope utf8_names;
    auto source = ArchiveSource::open(path);
    if (!source)
        return std::unexpected(std::move(source.error()));
    ArchiveKind kind = reader_kind(path);
    struct archive* a = archive_read_new();
    if (!a)
        return std::unexpected(kavo_services::Error::from_errno(ENOMEM).text);
    std::unique_ptr<ArchiveReader> reader(new ArchiveReader(kind, std::move(*source), a));
    if (kind == ArchiveKind::Zip) {
        archive_read_support_format_zip_seekable(a);
    } else {
        archive_read_support_format_tar(a);
        if (kind == ArchiveKind::TarGz)
            archive_read_support_filter_gzip(a);
    }
    reader->m_source->attach(a);
    if (int status = archive_read_open1(a); status != ARCHIVE_OK && status != ARCHIVE_WARN)
        return std::unexpected(error_text(a));
    return reader;
}

ArchiveReader::ArchiveReader(ArchiveKind kind, std::unique_ptr<ArchiveSource> source, struct archive* handle)
    : m_kind(kind), m_source(std::move(source)), m_archive(handle)
{
}

ArchiveReader::~ArchiveReader() { archive_read_free(m_archive); }

std::string ArchiveReader::library_error() const { return error_text(m_archive); }

std::string ArchiveReader::write_error(int error) const
{
    return kavo_services::Error::from_errno(error, kavo_services::lossy_utf8(std::string_view(m_member_path))).text;
}

std::string ArchiveReader::truncated_text() const
{
    return m_kind == ArchiveKind::Zip ? "truncated ZIP entry" : "truncated TAR entry";
}

std::expected<std::optional<ArchiveMember>, std::string> ArchiveReader::next()
{
    Utf8NamesScope utf8_names;
    for (;;) {
        struct archive_entry* entry = nullptr;
        int status = archive_read_next_header(m_archive, &entry);
        if (status == ARCHIVE_EOF)
            return std::nullopt;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
            return std::unexpected(library_error());

        mode_t type = archive_entry_filetype(entry);
        if (archive_entry_hardlink(entry) || type == AE_IFLNK)
            continue;

        // A name libarchive could not convert (invalid UTF-8 under ZIP's UTF-8 flag) may still be
        // there in another form, and that warning is only about the name.
        const char* name = archive_entry_pathname(entry);
        bool name_converted = name != nullptr;
        if (!name)
            name = archive_entry_pathname_utf8(entry);
        if (!name)
            return std::unexpected(library_error());
        // Any other warning on a ZIP header says that the central directory and the local header
        // disagree (sizes, checksum); the central directory's sizes are the ones the limits
        // were meant to see, so such an archive is refused rather than read by the other set.
        if (status == ARCHIVE_WARN && m_kind == ArchiveKind::Zip && name_converted)
            return std::unexpected(library_error());

        m_declared = archive_entry_size_is_set(entry) ? static_cast<uint64_t>(archive_entry_size(entry)) : 0;
        m_sparse = archive_entry_sparse_count(entry) > 0;
        if (auto admitted = m_limits.admit(m_declared); !admitted)
            return std::unexpected(std::move(admitted.error()));

        ArchiveMember member;
        member.type = type == AE_IFREG ? ArchiveMember::Type::File
            : type == AE_IFDIR         ? ArchiveMember::Type::Folder
                                       : ArchiveMember::Type::Other;
        auto path = normalize_entry_name(name);
        if (!path)
            return std::unexpected(std::move(path.error()));
        // "./" names the top folder itself, which tar writes first; only a folder can be that.
        if (path->empty() && (member.type != ArchiveMember::Type::Folder || *name == '\0'))
            return std::unexpected(std::string(k_empty_entry));
        member.path = std::move(*path);
        member.declared_size = m_declared;
        m_member_path = member.path;
        if (archive_entry_mtime_is_set(entry)) {
            member.mtime_seconds = archive_entry_mtime(entry);
            long nanoseconds = archive_entry_mtime_nsec(entry);
            member.mtime_nanoseconds = nanoseconds >= 0 && nanoseconds < 1'000'000'000 ? uint32_t(nanoseconds) : 0;
        }
        return member;
    }
}

std::expected<void, std::string> ArchiveReader::copy_data_to(int fd)
{
    Utf8NamesScope utf8_names;
    uint64_t end = 0;
    for (;;) {
        const void* data = nullptr;
        size_t length = 0;
        la_int64_t offset = 0;
        int status = archive_read_data_block(m_archive, &data, &length, &offset);
        if (status == ARCHIVE_EOF)
            break;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
            return std::unexpected(error_text_of(m_archive).value_or(truncated_text()));
        if (length > 0) {
            // Bounded before it is written: a member never grows past what the limits admitted.
            if (offset < 0 || uint64_t(offset) > m_declared || length > m_declared - uint64_t(offset))
                return std::unexpected(truncated_text());
            const char* bytes = static_cast<const char*>(data);
            for (size_t done = 0; done < length;) {
                ssize_t n = ::pwrite(fd, bytes + done, length - done, offset + off_t(done));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0)
                    return std::unexpected(write_error(errno));
                done += size_t(n);
            }
            end = std::max(end, uint64_t(offset) + length);
        }
        // libarchive delivers the last block with a warning when the member's size or checksum
        // does not match its headers.
        if (status == ARCHIVE_WARN)
            return std::unexpected(end != m_declared ? truncated_text() : library_error());
    }
    // A sparse member may end in a hole, which no block covers.
    if (m_sparse && end < m_declared) {
        if (::ftruncate(fd, off_t(m_declared)) != 0)
            return std::unexpected(write_error(errno));
        end = m_declared;
    }
    if (end != m_declared)
        return std::unexpected(truncated_text());
    return {};
}

}
