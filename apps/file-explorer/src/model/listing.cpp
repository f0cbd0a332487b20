#include "model/listing.hpp"

#include "model/entry_fields.hpp"
#include "model/folder_items.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"

#include <array>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <string_view>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace files::model {

namespace {

class FolderHandle {
public:
    explicit FolderHandle(int fd) : m_fd(fd) {}
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    ~FolderHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// Where the readers of the collaborative extended attributes will fill in availability, metadata,
// sharing, history, content hash, record id and sync state. Until they exist nothing is read, so
// every collaborative field stays absent.
void read_collaborative_fields(int /*dir_fd*/, const char* /*raw_name*/, DirectoryEntry& /*entry*/) {}

class EntryBuilder {
public:
    EntryBuilder(int dir_fd, std::string_view folder, bool collaborative)
        : m_dir_fd(dir_fd), m_folder(folder), m_collaborative(collaborative)
    {
        m_separator = !m_folder.empty() && m_folder.back() != '/';
    }

    void build(std::string_view raw_name, const ItemStatus& status, DirectoryEntry& entry)
    {
        entry.name = kavo_services::lossy_utf8(raw_name);
        entry.path = joined_path(raw_name);
        entry.mime_type = mime_type_for_name(raw_name);
        entry.is_folder = status.is_folder;
        entry.size = status.size;
        if (status.has_time)
            entry.modified = LocalDateTime {status.seconds, status.nanoseconds, m_offsets.at(status.seconds)};
        // Names from the kernel are NUL-terminated inside its buffer.
        if (m_collaborative)
            read_collaborative_fields(m_dir_fd, raw_name.data(), entry);
    }

private:
    // The same as folder / name, without building the intermediate paths.
    std::filesystem::path joined_path(std::string_view raw_name) const
    {
        std::string text;
        text.reserve(m_folder.size() + 1 + raw_name.size());
        text.append(m_folder);
        if (m_separator)
            text.push_back('/');
        text.append(raw_name);
        return std::filesystem::path(std::move(text));
    }

    int m_dir_fd;
    std::string_view m_folder;
    bool m_collaborative;
    bool m_separator = false;
    UtcOffsets m_offsets;
};

void build_range(int dir_fd, const std::filesystem::path& folder, bool collaborative, const FolderItems& items,
                 EntryList& entries, size_t begin, size_t end)
{
    EntryBuilder builder(dir_fd, folder.native(), collaborative);
    size_t index = begin;
    items.for_each(begin, end, [&](std::string_view name, const ItemStatus& status) {
        builder.build(name, status, entries[index++]);
    });
}

}

std::expected<EntryList, std::string> list_directory(const std::filesystem::path& folder, bool collaborative)
{
    FolderHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.fd() < 0)
        return std::unexpected(kavo_services::Error::from_errno(errno).text);

    FolderItems items = FolderItems::read(handle.fd());
    // Pick up a changed TZ; this is cheap when nothing changed.
    ::tzset();

    size_t count = items.size();
    EntryList entries(count);
    size_t half = count >= k_parallel_items ? count / 2 : count;
    std::jthread helper;
    if (half < count) {
        try {
            helper = std::jthread(
                [&] { build_range(handle.fd(), folder, collaborative, items, entries, half, count); });
        } catch (const std::system_error&) {
            half = count;  // no thread to be had: build them all here
        }
    }
    build_range(handle.fd(), folder, collaborative, items, entries, 0, half);
    if (helper.joinable())
        helper.join();
    return entries;
}

}
