#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kavo_services {

bool is_valid_utf8(std::string_view bytes);

// Converts raw bytes to UTF-8 text; every invalid sequence becomes U+FFFD. This is the only way
// a path or a name is turned into text.
std::string lossy_utf8(std::string_view bytes);
inline std::string lossy_utf8(const std::filesystem::path& path) { return lossy_utf8(std::string_view(path.native())); }

}
