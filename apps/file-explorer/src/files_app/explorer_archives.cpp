#include "files_app/file_explorer_widget.hpp"

#include "fileops/archive_browse.hpp"
#include "fileops/archive_create.hpp"
#include "fileops/archive_extract.hpp"
#include "fileops/archive_kind.hpp"
#include "fileops/archive_names.hpp"
#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"

#include <limits>

namespace files::app {

void FileExplorerWidget::compress(const std::vector<size_t>& indices)
{
    auto sources = paths_of(indices);
    if (sources.empty()) {
        set_status(i18n::t("files-archive-select-compress"));
        return;
    }
    auto zip = fileops::zip_destination(m_current_dir, sources);
    if (auto created = fileops::create_zip(zip, sources); !created) {
        set_status(i18n::t_args("files-archive-create-failed", {i18n::arg("error", created.error())}));
        return;
    }
    reload();
    set_status(i18n::t_args("files-archive-created", {i18n::arg("name", kavo_services::lossy_utf8(zip.filename()))}));
}

void FileExplorerWidget::extract(const std::vector<size_t>& indices)
{
    // Without a selection inside a browsed archive: the archive itself ("Extract archive…").
    if (indices.empty() && m_archive) {
        auto archive = m_archive->first;
        auto extracted = fileops::extract_archive(archive, fileops::extraction_destination(archive));
        if (!extracted) {
            set_status(i18n::t_args("files-archive-extract-failed", {i18n::arg("error", extracted.error())}));
            return;
        }
        set_status(i18n::t_args("files-archive-extracted", {i18n::count_arg("count", extracted->size())}));
        return;
    }
    std::vector<std::filesystem::path> archives;
    for (const auto& p : paths_of(indices))
        if (fileops::archive_kind(p))
            archives.push_back(p);
    if (archives.empty()) {
        set_status(i18n::t("files-archive-select"));
        return;
    }
    size_t total = 0;
    std::string failures;
    for (const auto& archive : archives) {
        auto extracted = fileops::extract_archive(archive, fileops::extraction_destination(archive));
        if (extracted) {
            total += extracted->size();
            continue;
        }
        if (!failures.empty())
            failures += "; ";
        failures += kavo_services::lossy_utf8(archive) + ": " + extracted.error();
    }
    reload();
    if (failures.empty())
        set_status(i18n::t_args("files-archive-extracted", {i18n::count_arg("count", total)}));
    else
        set_status(i18n::t_args("files-archive-extracted-partial",
                                {i18n::count_arg("count", total), i18n::arg("failures", failures)}));
}

}
