#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

namespace files::fileops {

inline constexpr uint64_t k_max_archive_entries = 100'000;
inline constexpr uint64_t k_max_expanded_bytes = uint64_t(16) << 30;  // 16 GiB

inline constexpr std::string_view k_too_many_entries = "archive has too many entries";
inline constexpr std::string_view k_size_overflow = "archive size overflow";
inline constexpr std::string_view k_expands_too_far = "archive expands beyond the safety limit";

// The bounds of one archive, fed every entry in archive order before the entry is used. An
// untrusted archive can declare anything; these keep a hostile one from filling the disk or
// the inode table. Links that are skipped are not fed in.
class ArchiveLimits {
public:
    // Accepts one entry with its declared uncompressed size, or says why the archive fails.
    std::expected<void, std::string> admit(uint64_t declared_size);

    uint64_t entries() const { return m_entries; }
    uint64_t declared_bytes() const { return m_declared_bytes; }

private:
    uint64_t m_entries = 0;
    uint64_t m_declared_bytes = 0;
};

}
