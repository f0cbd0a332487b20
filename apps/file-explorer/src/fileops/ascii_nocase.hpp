#pragma once

#include <string_view>

namespace files::fileops {

// Byte comparisons that fold only A-Z, so that no locale and no UTF-8 decoding takes part.
inline char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

inline bool equals_ascii_nocase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    }
    return true;
}

inline bool ends_with_ascii_nocase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && equals_ascii_nocase(text.substr(text.size() - suffix.size()), suffix);
}

}
