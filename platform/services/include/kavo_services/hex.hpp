#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kavo_services {

// The value of one hexadecimal digit (either case), or -1.
int hex_digit_value(char c);

// Lower-case hexadecimal text of the bytes.
std::string to_hex(std::span<const uint8_t> bytes);

// Undoes %XX escapes. An incomplete or non-hexadecimal escape, or a NUL byte (escaped or not),
// makes the text invalid: nullopt.
std::optional<std::string> percent_decode(std::string_view text);

}
