#include "automation_quote.hpp"

#include <fmt/format.h>

namespace kavo_ui::automation {

std::string shortened(std::string_view text, size_t max_bytes)
{
    if (text.size() <= max_bytes)
        return std::string(text);
    size_t end = max_bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return fmt::format("{}…", text.substr(0, end));
}

std::string quote_for_error(std::string_view value)
{
    return fmt::format("\"{}\"", shortened(value, 40));
}

}
