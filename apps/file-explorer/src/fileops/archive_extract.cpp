#include "fileops/archive_extract.hpp"

#include "fileops/archive_reader.hpp"
#include "fileops/extraction_folder.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"

#include <cerrno>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace files::fileops {

namespace {

std::expected<void, std::string> write_file(ArchiveReader& reader, ExtractionFolder& folder, const std::string& path)
{
    auto file = folder.create_file(path);
    if (!file)
        return std::unexpected(std::move(file.error()));
    if (auto copied = reader.copy_data_to(file->get()); !copied)
        return copied;
    // Some file systems report a failed write only when the file is closed.
    if (::close(file->release()) != 0)
        return std::unexpected(kavo_services::Error::from_errno(errno, kavo_services::lossy_utf8(std::string_view(path))).text);
    return {};
}

std::expected<std::vector<std::string>, std::string> write_members(ArchiveReader& reader, ExtractionFolder& folder)
{
    std::vector<std::string> files;
    for (;;) {
        auto member = reader.next();
        if (!member)
            return std::unexpected(std::move(member.error()));
        if (!*member)
            return files;
        switch ((*member)->type) {
        case ArchiveMember::Type::Folder:
            if (auto made = folder.make_folder((*member)->path); !made)
                return std::unexpected(std::move(made.error()));
            break;
        case ArchiveMember::Type::File:
            if (auto written = write_file(reader, folder, (*member)->path); !written)
                return std::unexpected(std::move(written.error()));
            files.push_back(std::move((*member)->path));
            break;
        case ArchiveMember::Type::Other:
            break;
        }
    }
}

}

std::expected<std::vector<std::filesystem::path>, std::string> extract_archive(const std::filesystem::path& archive,
                                                                               const std::filesystem::path& destination)
{
    struct stat st {};
    if (::lstat(destination.c_str(), &st) == 0)
        return std::unexpected(std::string(k_destination_exists));
    std::filesystem::path parent = destination.parent_path();
    if (parent.empty())
        return std::unexpected(std::string("destination has no parent"));
    std::string name = destination.filename().native();
    if (name.empty())
        return std::unexpected(std::string("destination has no name"));
    std::error_code ec;
    std::filesystem::create_directories(parent, ec);
    if (ec)
        return std::unexpected(kavo_services::Error::from_errno(ec.value(), kavo_services::lossy_utf8(parent)).text);

    auto folder = ExtractionFolder::reserve(parent, name);
    if (!folder)
        return std::unexpected(std::move(folder.error()));
    auto reader = ArchiveReader::open(archive);
    if (!reader)
        return std::unexpected(std::move(reader.error()));
    auto files = write_members(**reader, **folder);
    if (!files)
        return std::unexpected(std::move(files.error()));
    if (auto published = (*folder)->publish(); !published)
        return std::unexpected(std::move(published.error()));

    std::vector<std::filesystem::path> paths;
    paths.reserve(files->size());
    std::string base = destination.native();
    if (!base.ends_with('/'))
        base.push_back('/');
    for (const std::string& relative : *files)
        paths.emplace_back(base + relative);
    return paths;
}

}
