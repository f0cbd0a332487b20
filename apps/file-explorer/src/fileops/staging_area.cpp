#include "fileops/staging_area.hpp"

#include "fileops/os_text.hpp"
#include "fileops/random_id.hpp"
#include "fileops/remove_tree.hpp"
#include "kavo_services/utf8.hpp"

#include <cerrno>
#include <spdlog/spdlog.h>
#include <sys/stat.h>

namespace files::fileops {

namespace {

constexpr int k_name_attempts = 32;

// The staging tree is the engine's own: read-only folders copied into it must not keep it alive.
std::expected<void, std::string> remove_staging(const std::filesystem::path& folder)
{
    return remove_tree(folder, LockedFolders::Unlock);
}

}

std::expected<StagingArea, std::string> StagingArea::allocate(const std::filesystem::path& destination_folder)
{
    for (int attempt = 0; attempt < k_name_attempts; ++attempt) {
        std::filesystem::path folder = destination_folder / (".kavo-transfer-" + random_identifier());
        if (::mkdir(folder.c_str(), 0700) == 0)
            return StagingArea(std::move(folder));
        if (errno != EEXIST)
            return std::unexpected(os_text(errno));
    }
    return std::unexpected("could not allocate private transfer staging");
}

StagingArea::StagingArea(std::filesystem::path folder) : m_folder(std::move(folder)), m_payload(m_folder / "payload") {}

StagingArea::StagingArea(StagingArea&& other) noexcept
    : m_folder(std::move(other.m_folder)), m_payload(std::move(other.m_payload)), m_keep(other.m_keep)
{
    other.m_keep = true;
}

StagingArea::~StagingArea()
{
    if (m_keep)
        return;
    if (auto removed = remove_staging(m_folder); !removed)
        spdlog::warn("Files transfer staging cleanup failed during unwinding (path: {}, error: {})",
                     kavo_services::lossy_utf8(m_folder), removed.error());
}

std::string StagingArea::discard(std::string message)
{
    m_keep = true;
    if (auto removed = remove_staging(m_folder); !removed)
        message += "; private staging retained at " + kavo_services::lossy_utf8(m_payload) + ": " + removed.error();
    return message;
}

void StagingArea::finish()
{
    m_keep = true;
    if (auto removed = remove_staging(m_folder); !removed)
        spdlog::warn("empty Files transfer staging container could not be removed (path: {}, error: {})",
                     kavo_services::lossy_utf8(m_folder), removed.error());
}

}
