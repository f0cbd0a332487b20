#include "files_app/resource_identity.hpp"

#include "kavo_services/hex.hpp"
#include "kavo_services/utf8.hpp"

#include <sodium.h>

namespace files::app {

std::string local_resource_id(const std::filesystem::path& path)
{
    // The domain string ends in a backslash and the digit zero, not in a NUL byte.
    static constexpr std::string_view k_domain = "kavo.files.local-resource.v1\\0";
    const std::string& bytes = path.native();
    unsigned char length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = static_cast<unsigned char>(uint64_t(bytes.size()) >> (56 - 8 * i));
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    crypto_hash_sha256_update(&state, reinterpret_cast<const unsigned char*>(k_domain.data()), k_domain.size());
    crypto_hash_sha256_update(&state, length, sizeof length);
    crypto_hash_sha256_update(&state, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(&state, digest);
    return kavo_services::to_hex(std::span<const uint8_t>(digest, 16));
}

std::string uuid_text(const std::array<uint8_t, 16>& uuid)
{
    std::string h = kavo_services::to_hex(uuid);
    return h.substr(0, 8) + "-" + h.substr(8, 4) + "-" + h.substr(12, 4) + "-" + h.substr(16, 4) + "-" + h.substr(20);
}

std::optional<std::array<uint8_t, 16>> parse_uuid(std::string_view text)
{
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        return std::nullopt;
    std::array<uint8_t, 16> out{};
    size_t k = 0;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '-') {
            ++i;
            continue;
        }
        int hi = kavo_services::hex_digit_value(text[i]), lo = kavo_services::hex_digit_value(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out[k++] = uint8_t(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::string folder_identity(const std::filesystem::path& folder) { return "files.folder:" + local_resource_id(folder); }

std::string entry_identity(const model::DirectoryEntry& entry)
{
    if (entry.record_id)
        return "files.record:" + uuid_text(*entry.record_id);
    return "files.entry:" + local_resource_id(entry.path);
}

std::string place_identity(const std::filesystem::path& place) { return "files.place:" + local_resource_id(place); }

std::string template_identity(const std::filesystem::path& template_path)
{
    return "files.template:" + kavo_services::lossy_utf8(template_path.filename());
}

}
