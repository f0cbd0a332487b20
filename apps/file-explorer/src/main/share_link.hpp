#pragma once

#include <expected>
#include <string>

namespace files::launch {

inline constexpr size_t k_link_limit = 16384;

// Reads a shared-file link from a descriptor (standard input): at most 16384 bytes of UTF-8,
// trailing CR and LF removed. The error is the catalog key of the failure.
std::expected<std::string, std::string> read_shared_link(int fd);

}
