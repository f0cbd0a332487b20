#pragma once

#include "kavo_testing/temp_tree.hpp"
#include "kavo_testing/unprivileged.hpp"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

// Builders of hostile archives. ZIP and TAR bytes are laid out by hand, so that a test can write
// what no well-behaved writer would (names that climb out, sizes that lie, empty names, data
// that ends early); libarchive's own writer makes the archives that need real compression or
// encryption, and the gzip streams.
namespace files::test_support {

using namespace kavo_testing;

inline uint32_t crc32_of(std::string_view data)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t {};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

namespace detail {

inline void put16(std::string& out, uint32_t v)
{
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}
inline void put32(std::string& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}

// Stored (uncompressed) ZIP members, every size and field under the test's control.
class RawZip {
public:
    struct Member {
        std::string name {};
        std::string data {};
        uint32_t unix_mode = S_IFREG | 0644;
        // Overrides of the sizes the two headers declare (the data stays as it is).
        std::optional<uint32_t> central_size {};
        std::optional<uint32_t> local_size {};
        // Sizes and checksum only in the central directory and a descriptor behind the data,
        // with zeros in the local header, as streaming writers do.
        bool data_descriptor = false;
        bool wrong_crc = false;
        bool utf8_name = false;
    };

    RawZip& add(Member m)
    {
        m_members.push_back(std::move(m));
        return *this;
    }
    RawZip& file(std::string name, std::string data = "x") { return add({.name = std::move(name), .data = std::move(data)}); }
    RawZip& folder(std::string name) { return add({.name = std::move(name), .data = {}, .unix_mode = S_IFDIR | 0755}); }
    RawZip& symlink(std::string name, std::string target)
    {
        return add({.name = std::move(name), .data = std::move(target), .unix_mode = S_IFLNK | 0777});
    }

    std::string bytes() const
    {
        using detail::put16;
        using detail::put32;
        std::string out;
        std::string central;
        for (const Member& m : m_members) {
            uint32_t crc = crc32_of(m.data) ^ (m.wrong_crc ? 1u : 0u);
            uint32_t size = uint32_t(m.data.size());
            uint32_t flags = (m.data_descriptor ? 0x0008 : 0) | (m.utf8_name ? 0x0800 : 0);
            uint32_t offset = uint32_t(out.size());
            put32(out, 0x04034b50);
            put16(out, 20);
            put16(out, flags);
            put16(out, 0);  // stored
            put16(out, 0);
            put16(out, 0x5A21);  // 2025-01-01
            put32(out, m.data_descriptor ? 0 : crc);
            put32(out, m.data_descriptor ? 0 : size);
            put32(out, m.data_descriptor ? 0 : m.local_size.value_or(size));
            put16(out, uint32_t(m.name.size()));
            put16(out, 0);
            out += m.name;
            out += m.data;
            if (m.data_descriptor) {
                put32(out, 0x08074b50);
                put32(out, crc);
                put32(out, size);
                put32(out, m.central_size.value_or(size));
            }
            put32(central, 0x02014b50);
            put16(central, (3 << 8) | 20);  // made on Unix
            put16(central, 20);
            put16(central, flags);
            put16(central, 0);
            put16(central, 0);
            put16(central, 0x5A21);
            put32(central, crc);
            put32(central, size);
            put32(central, m.central_size.value_or(size));
            put16(central, uint32_t(m.name.size()));
            put16(central, 0);
            put16(central, 0);
            put16(central, 0);
            put16(central, 0);
            put32(central, m.unix_mode << 16);
            put32(central, offset);
            central += m.name;
        }
        uint32_t central_offset = uint32_t(out.size());
        out += central;
        put32(out, 0x06054b50);
        put16(out, 0);
        put16(out, 0);
        put16(out, uint32_t(m_members.size()));
        put16(out, uint32_t(m_members.size()));
        put32(out, uint32_t(central.size()));
        put32(out, central_offset);
        put16(out, 0);
        return out;
    }

private:
    std::vector<Member> m_members;
};

// ustar headers written field by field; a size of 8 GiB or more goes in GNU base-256.
class RawTar {
public:
    struct Member {
        std::string name {};
        char type = '0';
        std::string data {};
        std::string link {};
        // The size the header declares; the data written stays as it is.
        std::optional<uint64_t> declared_size {};
        // An old-GNU sparse member ('S'): up to four (offset, length) regions whose bytes are
        // `data`, one after the other, in a file of `real_size` bytes.
        std::vector<std::pair<uint64_t, uint64_t>> sparse_map {};
        uint64_t real_size = 0;
    };

    RawTar& add(Member m)
    {
        m_members.push_back(std::move(m));
        return *this;
    }
    RawTar& file(std::string name, std::string data = "x") { return add({.name = std::move(name), .type = '0', .data = std::move(data)}); }
    RawTar& folder(std::string name) { return add({.name = std::move(name), .type = '5'}); }
    RawTar& symlink(std::string name, std::string target)
    {
        return add({.name = std::move(name), .type = '2', .data = {}, .link = std::move(target)});
    }
    RawTar& sparse(std::string name, std::string data, std::vector<std::pair<uint64_t, uint64_t>> map, uint64_t real_size)
    {
        return add({.name = std::move(name), .type = 'S', .data = std::move(data), .sparse_map = std::move(map), .real_size = real_size});
    }
    RawTar& hard_link(std::string name, std::string target)
    {
        return add({.name = std::move(name), .type = '1', .data = {}, .link = std::move(target)});
    }

    // With `end_marker` false the archive stops after the last member's data, as a cut-off
    // download would.
    std::string bytes(bool end_marker = true) const
    {
        std::string out;
        for (const Member& m : m_members) {
            out += header(m);
            out += m.data;
            out.append((512 - m.data.size() % 512) % 512, '\0');
        }
        if (end_marker)
            out.append(1024, '\0');
        return out;
    }

private:
    static void octal(char* field, size_t width, uint64_t value)
    {
        std::string digits(width - 1, '0');
        for (size_t i = width - 1; i-- > 0 && value;) {
            digits[i] = char('0' + (value & 7));
            value >>= 3;
        }
        std::copy(digits.begin(), digits.end(), field);
    }

    static std::string header(const Member& m)
    {
        if (m.name.size() > 100 || m.link.size() > 100)
            throw std::invalid_argument("RawTar names are limited to 100 bytes");
        std::string h(512, '\0');
        std::copy(m.name.begin(), m.name.end(), h.data());
        octal(h.data() + 100, 8, m.type == '5' ? 0755 : 0644);
        octal(h.data() + 108, 8, 0);
        octal(h.data() + 116, 8, 0);
        uint64_t size = m.declared_size.value_or(m.data.size());
        if (size < (uint64_t(1) << 33)) {
            octal(h.data() + 124, 12, size);
        } else {
            h[124] = char(0x80);
            for (int i = 11; i >= 1; --i, size >>= 8)
                h[size_t(124 + i)] = char(size & 0xFF);
        }
        octal(h.data() + 136, 12, 1'735'689'600);  // 2025-01-01
        h[156] = m.type;
        std::copy(m.link.begin(), m.link.end(), h.data() + 157);
        if (m.sparse_map.empty()) {
            std::copy_n("ustar", 6, h.data() + 257);
            h[263] = '0';
            h[264] = '0';
        } else {
            if (m.sparse_map.size() > 4)
                throw std::invalid_argument("RawTar sparse maps are limited to 4 regions");
            std::copy_n("ustar  ", 8, h.data() + 257);
            for (size_t i = 0; i < m.sparse_map.size(); ++i) {
                octal(h.data() + 386 + 24 * i, 12, m.sparse_map[i].first);
                octal(h.data() + 398 + 24 * i, 12, m.sparse_map[i].second);
            }
            octal(h.data() + 483, 12, m.real_size);
        }
        std::fill_n(h.data() + 148, 8, ' ');
        uint32_t sum = 0;
        for (unsigned char c : h)
            sum += c;
        octal(h.data() + 148, 7, sum);
        h[155] = ' ';
        return h;
    }

    std::vector<Member> m_members;
};

namespace detail {

inline la_ssize_t append_to_string(struct archive*, void* out, const void* data, size_t size)
{
    static_cast<std::string*>(out)->append(static_cast<const char*>(data), size);
    return la_ssize_t(size);
}

inline void check(struct archive* a, int status)
{
    if (status < ARCHIVE_WARN)
        throw std::runtime_error(archive_error_string(a) ? archive_error_string(a) : "libarchive writer failed");
}

}

// The bytes as one gzip stream.
inline std::string gzip(std::string_view data)
{
    std::string out;
    struct archive* a = archive_write_new();
    detail::check(a, archive_write_add_filter_gzip(a));
    detail::check(a, archive_write_set_format_raw(a));
    detail::check(a, archive_write_set_bytes_in_last_block(a, 1));
    detail::check(a, archive_write_open(a, &out, nullptr, detail::append_to_string, nullptr));
    struct archive_entry* e = archive_entry_new();
    archive_entry_set_filetype(e, AE_IFREG);
    archive_entry_set_size(e, la_int64_t(data.size()));
    detail::check(a, archive_write_header(a, e));
    archive_entry_free(e);
    if (archive_write_data(a, data.data(), data.size()) != la_ssize_t(data.size()))
        throw std::runtime_error("gzip write failed");
    detail::check(a, archive_write_close(a));
    archive_write_free(a);
    return out;
}

// A ZIP made by libarchive's writer: files (name, data), folders where the name ends in "/",
// with the given writer options, such as
// "zip:compression=store" or "zip:encryption=traditional" together with a passphrase.
inline std::string libarchive_zip(const std::vector<std::pair<std::string, std::string>>& files, const char* options = nullptr,
                                  const char* passphrase = nullptr)
{
    std::string out;
    struct archive* a = archive_write_new();
    detail::check(a, archive_write_set_format_zip(a));
    if (options)
        detail::check(a, archive_write_set_options(a, options));
    if (passphrase)
        detail::check(a, archive_write_set_passphrase(a, passphrase));
    detail::check(a, archive_write_set_bytes_in_last_block(a, 1));
    detail::check(a, archive_write_open(a, &out, nullptr, detail::append_to_string, nullptr));
    struct archive_entry* e = archive_entry_new();
    for (const auto& [name, data] : files) {
        archive_entry_clear(e);
        archive_entry_set_pathname(e, name.c_str());
        bool folder = name.ends_with('/');
        archive_entry_set_filetype(e, folder ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(e, folder ? 0755 : 0644);
        archive_entry_set_size(e, la_int64_t(data.size()));
        detail::check(a, archive_write_header(a, e));
        if (!folder && archive_write_data(a, data.data(), data.size()) != la_ssize_t(data.size()))
            throw std::runtime_error("zip write failed");
    }
    archive_entry_free(e);
    detail::check(a, archive_write_close(a));
    archive_write_free(a);
    return out;
}

}
