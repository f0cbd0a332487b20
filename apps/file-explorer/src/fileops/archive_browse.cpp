#include "fileops/archive_browse.hpp"

#include "fileops/archive_paths.hpp"
#include "fileops/archive_reader.hpp"

#include "kavo_services/mime.hpp"
#include "kavo_services/utf8.hpp"

#include <ctime>
#include <string_view>
#include <unordered_map>

namespace files::fileops {

namespace {

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

int32_t utc_offset_by_localtime(int64_t seconds)
{
    time_t t = static_cast<time_t>(seconds);
    struct tm local;
    if (!::localtime_r(&t, &local))
        return 0;
    return static_cast<int32_t>(local.tm_gmtoff);
}

// The members of an archive were mostly written within the same hours, so the local zone's
// offset is remembered per hour: an hour whose first and last second have the same offset holds
// no zone change.
class UtcOffsets {
public:
    int32_t at(int64_t seconds)
    {
        constexpr int64_t k_cacheable = int64_t(1) << 50;
        if (seconds <= -k_cacheable || seconds >= k_cacheable)
            return utc_offset_by_localtime(seconds);
        int64_t hour = seconds >= 0 ? seconds / 3600 : -((-seconds + 3599) / 3600);
        if (m_filled && m_hour == hour)
            return m_offset;
        int32_t first = utc_offset_by_localtime(hour * 3600);
        if (first != utc_offset_by_localtime(hour * 3600 + 3599))
            return utc_offset_by_localtime(seconds);
        m_filled = true;
        m_hour = hour;
        m_offset = first;
        return first;
    }

private:
    bool m_filled = false;
    int64_t m_hour = 0;
    int32_t m_offset = 0;
};

class ChildCollector {
public:
    ChildCollector(const std::filesystem::path& archive, const std::string& inner)
        : m_prefix(inner.empty() ? std::string() : inner + "/")
    {
        m_base = archive.native();
        if (!m_base.ends_with('/'))
            m_base.push_back('/');
        m_base += m_prefix;
        ::tzset();
    }

    void add(const ArchiveMember& member)
    {
        const std::string& path = member.path;
        if (path.size() <= m_prefix.size() || !path.starts_with(m_prefix))
            return;
        std::string_view rest = std::string_view(path).substr(m_prefix.size());
        size_t slash = rest.find('/');
        bool deeper = slash != std::string_view::npos;
        if (!deeper && member.type == ArchiveMember::Type::Other)
            return;
        std::string_view name = deeper ? rest.substr(0, slash) : rest;
        bool is_folder = deeper || member.type == ArchiveMember::Type::Folder;

        auto [slot, inserted] = m_index.try_emplace(std::string(name), m_entries.size());
        if (inserted) {
            model::DirectoryEntry& entry = m_entries.emplace_back();
            entry.name = kavo_services::lossy_utf8(name);
            entry.path = std::filesystem::path(m_base + std::string(name));
            entry.mime_type = mime_type_for_name(name);
            entry.is_folder = is_folder;
            entry.size = is_folder ? 0 : member.declared_size;
        }
        model::DirectoryEntry& entry = m_entries[slot->second];
        // A name that is a file in one member and a folder in another is shown as the folder,
        // the one that can be opened.
        if (is_folder && !entry.is_folder) {
            entry.is_folder = true;
            entry.size = 0;
            entry.modified.reset();
        }
        if (!deeper && !entry.modified && member.mtime_seconds && entry.is_folder == is_folder)
            entry.modified = model::LocalDateTime {*member.mtime_seconds, member.mtime_nanoseconds, m_offsets.at(*member.mtime_seconds)};
    }

    model::EntryList take() { return std::move(m_entries); }

private:
    std::string m_prefix;
    std::string m_base;
    std::unordered_map<std::string, size_t> m_index;
    model::EntryList m_entries;
    UtcOffsets m_offsets;
};

}

std::expected<model::EntryList, std::string> list_archive_folder(const std::filesystem::path& archive,
                                                                 const std::filesystem::path& inner_folder)
{
    auto inner = normalize_entry_name(inner_folder.native());
    if (!inner)
        return std::unexpected(std::move(inner.error()));
    auto reader = ArchiveReader::open(archive);
    if (!reader)
        return std::unexpected(std::move(reader.error()));
    ChildCollector children(archive, *inner);
    for (;;) {
        auto member = (*reader)->next();
        if (!member)
            return std::unexpected(std::move(member.error()));
        if (!*member)
            return children.take();
        children.add(**member);
    }
}

}
