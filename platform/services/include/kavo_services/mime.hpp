#pragma once

#include <string>
#include <string_view>

namespace kavo_services {

inline constexpr std::string_view k_octet_stream = "application/octet-stream";

// The MIME type the shared-mime-info glob database gives first for a file-name extension
// (without the dot), or application/octet-stream. Only "*.ext" globs take part; the answer for
// one extension never changes during the process. Thread-safe.
std::string mime_type_for_extension(std::string_view extension);

}
