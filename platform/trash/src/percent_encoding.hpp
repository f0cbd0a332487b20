#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavo_trash {

// Escapes every byte except the RFC 3986 unreserved characters and "/" as %XX, so that any
// file name (spaces, newlines, "%", invalid UTF-8) survives a line-based key file.
std::string percent_encode(std::string_view bytes);

// Undoes percent_encode and also accepts bytes left unescaped by other writers. nullopt for a
// truncated or non-hexadecimal escape, or for a NUL byte, which no path can hold.
std::optional<std::string> percent_decode(std::string_view text);

}
