#include "percent_encoding.hpp"

#include "kavo_services/hex.hpp"

namespace kavo_trash {

namespace {

bool is_kept(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_'
        || c == '~' || c == '/';
}


}

std::string percent_encode(std::string_view bytes)
{
    static constexpr char k_hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (is_kept(c)) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(k_hex[c >> 4]);
            out.push_back(k_hex[c & 0xF]);
        }
    }
    return out;
}

std::optional<std::string> percent_decode(std::string_view text) { return kavo_services::percent_decode(text); }

}
