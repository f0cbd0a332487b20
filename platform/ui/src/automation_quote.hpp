#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kavo_ui::automation {

// At most max_bytes of the text, cut at a character boundary and marked with "…" when cut, so
// that an error reply never repeats a megabyte of the request back.
std::string shortened(std::string_view text, size_t max_bytes);

// A value a client sent, shortened and in double quotes, for an error text.
std::string quote_for_error(std::string_view value);

}
