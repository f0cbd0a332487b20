#include "fileops/archive_create.hpp"

#include "fileops/unique_fd.hpp"
#include "fileops/utf8_names_scope.hpp"
#include "fileops/zip_writer.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

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
