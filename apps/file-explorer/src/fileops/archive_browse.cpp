#include "fileops/archive_browse.hpp"

#include "fileops/archive_paths.hpp"
#include "fileops/archive_reader.hpp"

#include "model/entry_fields.hpp"

#include "kavo_services/utf8.hpp"

#include <ctime>
#include <string_view>
#include <unordered_map>

namespace files::fileops {

namespace {

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
            entry.mime_type = model::mime_type_for_name(name);
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
    model::UtcOffsets m_offsets;
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
