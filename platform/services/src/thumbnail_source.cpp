#include "thumbnail_source.hpp"

#include "thumbnail_epub.hpp"
#include "thumbnail_file.hpp"
#include "thumbnail_pdf.hpp"

namespace kavo_services::thumbs {

namespace {

constexpr const char* k_thumb_attribute = "user.kavo.thumb";
constexpr size_t k_max_attribute_bytes = 1 << 20;

}

ThumbSource source_for(const ThumbRequest& request)
{
    return request.collaborative && !request.locally_readable ? ThumbSource::PlatformAttribute
                                                               : ThumbSource::Content;
}

Decoded make_thumbnail(const ThumbRequest& request, ThumbSource source)
{
    if (source == ThumbSource::PlatformAttribute) {
        auto bytes = read_attribute(request.path, k_thumb_attribute, k_max_attribute_bytes);
        if (!bytes)
            return std::unexpected(bytes.error());
        return decode_image_bytes(*bytes);
    }
    switch (request.category) {
    case ThumbCategory::Image:
        return decode_image_file(request.path);
    case ThumbCategory::Pdf:
        return decode_pdf_first_page(request.path);
    case ThumbCategory::Epub:
        return decode_epub_cover(request.path);
    case ThumbCategory::None:
        break;
    }
    return std::unexpected(std::string("no thumbnail for this kind of file"));
}

}
