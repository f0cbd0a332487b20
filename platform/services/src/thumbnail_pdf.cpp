#include "thumbnail_pdf.hpp"

#include "thumbnail_file.hpp"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

namespace kavo_services::thumbs {

namespace {

// 200 inches, the largest page a PDF may declare; anything larger is a broken or hostile file.
constexpr double k_max_page_points = 14400.0;

// Poppler keeps process-wide state (fonts, the error callback) that it does not guard for
// concurrent documents in every version, so one document is rendered at a time.
std::mutex& poppler_mutex()
{
    static std::mutex mutex;
    return mutex;
}

void ignore_message(const std::string&, void*) {}

QImage to_qimage(const poppler::image& rendered)
{
    QImage image(rendered.width(), rendered.height(), QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    const size_t row_bytes = static_cast<size_t>(rendered.width()) * 4;
    for (int y = 0; y < rendered.height(); ++y)
        std::memcpy(image.scanLine(y), rendered.const_data() + static_cast<ptrdiff_t>(y) * rendered.bytes_per_row(),
                    row_bytes);
    return image;
}

Decoded render_first_page(const std::string& file_name)
{
    std::unique_ptr<poppler::document> document(poppler::document::load_from_file(file_name));
    if (!document || document->is_locked() || document->pages() < 1)
        return std::unexpected(std::string("not a readable PDF"));
    std::unique_ptr<poppler::page> page(document->create_page(0));
    if (!page)
        return std::unexpected(std::string("no first page"));
    const poppler::rectf box = page->page_rect(poppler::crop_box);
    const double longest = std::max(box.width(), box.height());
    if (!(box.width() > 0 && box.height() > 0 && longest <= k_max_page_points))
        return std::unexpected(std::string("page size out of range"));
    const double dpi = 72.0 * k_thumb_max_side / longest;
    poppler::page_renderer renderer;
    renderer.set_image_format(poppler::image::format_argb32);
    renderer.set_render_hints(poppler::page_renderer::antialiasing | poppler::page_renderer::text_antialiasing);
    const poppler::image rendered = renderer.render_page(page.get(), dpi, dpi);
    if (!rendered.is_valid() || rendered.width() < 1 || rendered.height() < 1)
        return std::unexpected(std::string("page did not render"));
    QImage image = to_qimage(rendered);
    if (image.isNull())
        return std::unexpected(std::string("page did not render"));
    return fit_thumb(image);
}

}

Decoded decode_pdf_first_page(const std::filesystem::path& path)
{
    auto file = RegularFile::open(path);
    if (!file)
        return std::unexpected(file.error());
    std::lock_guard lock(poppler_mutex());
    static const bool quiet = [] {
        poppler::set_debug_error_function(ignore_message, nullptr);
        return true;
    }();
    (void)quiet;
    try {
        // Poppler opens files by name; the descriptor's own name keeps it on the file checked.
        return render_first_page(file->proc_path());
    } catch (const std::exception& e) {
        return std::unexpected(std::string("PDF: ") + e.what());
    }
}

}
