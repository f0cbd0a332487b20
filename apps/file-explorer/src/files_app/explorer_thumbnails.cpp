#include "files_app/file_explorer_widget.hpp"

#include "model/workspace_roots.hpp"

namespace files::app {

namespace {

int64_t modified_ms(const model::DirectoryEntry& e)
{
    if (!e.modified)
        return 0;
    return e.modified->unix_seconds * 1000 + int64_t(e.modified->nanoseconds / 1000000);
}

}

std::optional<kavo_ui::Image> FileExplorerWidget::thumbnail_for(const model::DirectoryEntry& entry)
{
    if (!m_thumbnails || entry.is_folder || m_archive)
        return std::nullopt;
    auto category = kavo_services::category_for_path(entry.path);
    if (category == kavo_services::ThumbCategory::None)
        return std::nullopt;
    auto key = kavo_services::ThumbKey::of_path_meta(entry.path, entry.content_hash, modified_ms(entry), entry.size);
    if (auto it = m_thumb_images.find(key); it != m_thumb_images.end())
        return it->second;
    if (auto picture = m_thumbnails->picture(key)) {
        auto image = kavo_ui::Image::from_argb32(picture->width, picture->height, picture->pixels);
        m_thumb_images.emplace(key, image);
        return image;
    }
    if (m_thumbnails->status(key) == kavo_services::ThumbStatus::Unknown) {
        // A collaborative file is readable here only when its content is on this device.
        bool collaborative = model::is_inside_roots(m_current_dir, m_workspace_roots);
        bool readable = !entry.sync_state || *entry.sync_state == model::SyncState::Local;
        kavo_services::ThumbRequest request;
        request.path = entry.path;
        request.key = key;
        request.category = category;
        request.collaborative = collaborative;
        request.locally_readable = !collaborative || readable;
        request.priority = 1;  // asked while drawing: the entry is visible
        m_thumbnails->request_file(request);
    }
    return std::nullopt;
}

void FileExplorerWidget::wait_for_thumbnails()
{
    if (m_thumbnails)
        m_thumbnails->block_until_idle();
    m_paint_dirty = true;
}

std::optional<size_t> FileExplorerWidget::thumbnails_pending() const
{
    if (!m_thumbnails)
        return std::nullopt;
    return m_thumbnails->pending();
}

}
