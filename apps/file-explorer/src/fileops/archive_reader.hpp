#pragma once

#include "fileops/archive_kind.hpp"
#include "fileops/archive_limits.hpp"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

struct archive;

namespace files::fileops {

class ArchiveSource;

// One member of an archive as extraction and browsing see it: it passed the limits and the entry
// path rule, and it is not a link.
struct ArchiveMember {
    enum class Type { File, Folder, Other };

    Type type = Type::Other;
    // The rebuilt entry path, components joined by "/"; empty only for a folder entry that names
    // the archive's own top folder ("./", as tar writes it).
    std::string path;
    uint64_t declared_size = 0;
    std::optional<int64_t> mtime_seconds;
    uint32_t mtime_nanoseconds = 0;
};

// Reads an archive as untrusted input with libarchive: ZIP through the seekable reader (central
// directory sizes), TAR through the tar reader, gzip-compressed TAR through the gzip filter and
// nothing else. Error texts of libarchive are passed on unchanged.
class ArchiveReader {
public:
    // The reader by extension: "zip" is ZIP, "gz" and "tgz" gzip-compressed TAR, anything else TAR.
    static std::expected<std::unique_ptr<ArchiveReader>, std::string> open(const std::filesystem::path& archive);
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;
    ~ArchiveReader();

    // The next member in archive order, nullopt after the last. Symbolic and hard links are
    // skipped without being counted; every other entry is admitted by the limits and then
    // rebuilt by the path rule, either of which can fail the archive.
    std::expected<std::optional<ArchiveMember>, std::string> next();

    // Writes the data of the member that next() returned into fd (at its offsets, so sparse
    // members keep their holes). Never writes past the declared size, and fails with "truncated
    // ZIP entry" or "truncated TAR entry" unless exactly the declared size arrived.
    std::expected<void, std::string> copy_data_to(int fd);

private:
    ArchiveReader(ArchiveKind kind, std::unique_ptr<ArchiveSource> source, struct archive* handle);
    std::string library_error() const;
    std::string truncated_text() const;
    std::string write_error(int error) const;

    ArchiveKind m_kind;
    std::unique_ptr<ArchiveSource> m_source;
    struct archive* m_archive;
    ArchiveLimits m_limits;
    // Of the member next() returned last.
    std::string m_member_path;
    uint64_t m_declared = 0;
    bool m_sparse = false;
};

}
