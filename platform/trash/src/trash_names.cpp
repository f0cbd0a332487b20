#include "trash_names.hpp"

namespace kavo_trash {

namespace {

// Drops bytes from the end until `s` fits `size`, and then any UTF-8 continuation bytes left
// without their lead byte, so a shortened name stays as readable as its original.
std::string_view shortened(std::string_view s, size_t size)
{
    if (s.size() <= size)
        return s;
    size_t cut = size;
    while (cut > 1 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80)
        --cut;
    return s.substr(0, cut);
}

}

std::string trash_name(std::string_view name, unsigned n)
{
    // The extension starts at the last dot that neither opens nor ends the name.
    size_t dot = name.rfind('.');
    bool has_extension = dot != std::string_view::npos && dot > 0 && dot + 1 < name.size();
    std::string_view stem = has_extension ? name.substr(0, dot) : name;
    std::string_view extension = has_extension ? name.substr(dot) : std::string_view();
    std::string number = n > 1 ? "." + std::to_string(n) : std::string();

    size_t budget = k_max_trash_name_bytes - number.size();
    if (extension.size() > budget / 2) {
        stem = name;
        extension = {};
    }
    std::string out(shortened(stem, budget - extension.size()));
    out += number;
    out += extension;
    return out;
}

}
