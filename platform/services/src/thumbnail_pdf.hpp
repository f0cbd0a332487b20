#pragma once

#include "thumbnail_image.hpp"

namespace kavo_services::thumbs {

// The first page, rendered on white to fit the thumbnail square.
Decoded decode_pdf_first_page(const std::filesystem::path& path);

}
