#pragma once

#include <expected>
#include <filesystem>
#include <string>

namespace files::fileops {

// The private folder ".kavo-transfer-<random id>" inside a destination folder, which holds a
// copy under the name "payload" until it is renamed into place. Unless kept, the folder is
// removed when the area goes away; a failure to do so is logged.
class StagingArea {
public:
    // Creates the folder with mode 0700, trying up to 32 random names.
    static std::expected<StagingArea, std::string> allocate(const std::filesystem::path& destination_folder);

    StagingArea(StagingArea&& other) noexcept;
    StagingArea& operator=(StagingArea&&) = delete;
    ~StagingArea();

    const std::filesystem::path& folder() const { return m_folder; }
    const std::filesystem::path& payload() const { return m_payload; }

    // Leaves the folder on disk: it holds the only copy of the data.
    void keep() { m_keep = true; }
    // Removes the folder after a failure described by `message` and returns the message, which
    // says where the data stayed when the folder could not be removed.
    std::string discard(std::string message);
    // Removes the folder once its payload has been placed; a failure is only logged.
    void finish();

private:
    explicit StagingArea(std::filesystem::path folder);

    std::filesystem::path m_folder;
    std::filesystem::path m_payload;
    bool m_keep = false;
};

}
