#pragma once

#include "thumbnail_image.hpp"

namespace kavo_services::thumbs {

// The cover picture the book's package document names.
Decoded decode_epub_cover(const std::filesystem::path& path);

}
