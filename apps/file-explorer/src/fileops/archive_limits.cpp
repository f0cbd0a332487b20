#include "fileops/archive_limits.hpp"

namespace files::fileops {

std::expected<void, std::string> ArchiveLimits::admit(uint64_t declared_size)
{
    if (m_entries >= k_max_archive_entries)
        return std::unexpected(std::string(k_too_many_entries));
    uint64_t sum = 0;
    if (__builtin_add_overflow(m_declared_bytes, declared_size, &sum))
        return std::unexpected(std::string(k_size_overflow));
    if (sum > k_max_expanded_bytes)
        return std::unexpected(std::string(k_expands_too_far));
    ++m_entries;
    m_declared_bytes = sum;
    return {};
}

}
