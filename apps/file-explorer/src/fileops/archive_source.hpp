#pragma once

#include "fileops/unique_fd.hpp"

#include <archive.h>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>
#include <string>

namespace files::fileops {

// An archive file as libarchive's client: positioned reads into one buffer that is handed out
// without copying. The seekable ZIP reader jumps to every member's local header; when the member
// lies in the buffer already that costs nothing, where a plain file client would read a whole
// block again for every member.
class ArchiveSource {
public:
    static std::expected<std::unique_ptr<ArchiveSource>, std::string> open(const std::filesystem::path& path);
    ArchiveSource(const ArchiveSource&) = delete;
    ArchiveSource& operator=(const ArchiveSource&) = delete;

    // Installs this source as the read, seek and skip callbacks of a reader not yet opened; the
    // source must outlive the reader.
    void attach(struct archive* reader);

private:
    static constexpr size_t k_buffer_size = 128 * 1024;

    ArchiveSource(UniqueFd fd, int64_t size);
    la_ssize_t read(struct archive* reader, const void** data);
    la_int64_t seek(la_int64_t offset, int whence);
    la_int64_t skip(la_int64_t request);

    UniqueFd m_fd;
    int64_t m_size;
    std::unique_ptr<char[]> m_buffer;
    int64_t m_buffer_start = 0;
    int64_t m_buffer_length = 0;
    int64_t m_pos = 0;
};

}
