#include "kavo_services/utf8.hpp"

#include <cstdint>

namespace kavo_services {

namespace {

// Length of the valid UTF-8 sequence starting at s[i], or 0 when it is invalid.
size_t valid_sequence_length(std::string_view s, size_t i)
{
    auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    uint8_t b0 = byte(i);
    if (b0 < 0x80)
        return 1;
    size_t n = s.size() - i;
    auto cont = [&](size_t k) { return k < n && (byte(i + k) & 0xC0) == 0x80; };
    if (b0 >= 0xC2 && b0 <= 0xDF)
        return cont(1) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (!cont(1) || !cont(2))
            return 0;
        uint8_t b1 = byte(i + 1);
        if (b0 == 0xE0 && b1 < 0xA0)
            return 0;  // overlong
        if (b0 == 0xED && b1 > 0x9F)
            return 0;  // surrogate
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3))
            return 0;
        uint8_t b1 = byte(i + 1);
        if (b0 == 0xF0 && b1 < 0x90)
            return 0;
        if (b0 == 0xF4 && b1 > 0x8F)
            return 0;
        return 4;
    }
    return 0;
}

// How many bytes an invalid sequence at s[i] spans: a lead byte and the continuation bytes that
// could belong to it, so "\xE2\x82" becomes one U+FFFD like other decoders do.
size_t invalid_sequence_length(std::string_view s, size_t i)
{
    auto b0 = static_cast<uint8_t>(s[i]);
    size_t expected = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 ? 2 : 1;
    size_t k = 1;
    while (k < expected && i + k < s.size() && (static_cast<uint8_t>(s[i + k]) & 0xC0) == 0x80)
        ++k;
    return k;
}

}

bool is_valid_utf8(std::string_view bytes)
{
    for (size_t i = 0; i < bytes.size();) {
        if (static_cast<uint8_t>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        size_t n = valid_sequence_length(bytes, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string lossy_utf8(std::string_view bytes)
{
    if (is_valid_utf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + 8);
    for (size_t i = 0; i < bytes.size();) {
        size_t n = valid_sequence_length(bytes, i);
        if (n > 0) {
            out.append(bytes.substr(i, n));
            i += n;
        } else {
            out.append("\xEF\xBF\xBD");
            i += invalid_sequence_length(bytes, i);
        }
    }
    return out;
}

}
