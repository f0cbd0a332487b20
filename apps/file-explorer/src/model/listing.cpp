#include "model/listing.hpp"

#include "model/folder_items.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/mime.hpp"
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

int32_t utc_offset_by_localtime(int64_t seconds)
{
    time_t t = static_cast<time_t>(seconds);
    struct tm local;
    if (!::localtime_r(&t, &local))
        return 0;
    return static_cast<int32_t>(local.tm_gmtoff);
}

// The local zone's UTC offset at an instant. localtime_r costs about a microsecond, and the items
// of a folder cluster in time, so offsets are kept per hour. An hour is cached only when its first
// and last second have the same offset (no zone has changed twice within one hour); an hour that
// holds a change is asked per instant.
class UtcOffsets {
public:
    int32_t at(int64_t seconds)
    {
        // Far outside the calendar's range the hour arithmetic below could overflow.
        constexpr int64_t k_cacheable = int64_t(1) << 50;
        if (seconds <= -k_cacheable || seconds >= k_cacheable)
            return utc_offset_by_localtime(seconds);
        int64_t hour = seconds >= 0 ? seconds / 3600 : -((-seconds + 3599) / 3600);
        Slot& slot = m_slots[static_cast<size_t>(hour) % m_slots.size()];
        if (slot.filled && slot.hour == hour)
            return slot.offset;
        int32_t first = utc_offset_by_localtime(hour * 3600);
        int32_t last = utc_offset_by_localtime(hour * 3600 + 3599);
        if (first != last)
            return utc_offset_by_localtime(seconds);
        slot = {hour, first, true};
        return first;
    }

private:
    struct Slot {
        int64_t hour = 0;
        int32_t offset = 0;
        bool filled = false;
    };
    std::array<Slot, 256> m_slots {};
};

// The text after the last dot of the name; a name whose only dot is its first byte has none.
std::string mime_type_for_name(std::string_view name)
{
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::string(kavo_services::k_octet_stream);
    std::string_view extension = name.substr(dot + 1);
    if (!kavo_services::is_valid_utf8(extension))
        return std::string(kavo_services::k_octet_stream);
    return kavo_services::mime_type_for_extension(extension);
}

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
