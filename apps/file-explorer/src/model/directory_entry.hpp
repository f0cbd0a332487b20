#pragma once

#include "collab/projections.hpp"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace files::model {

// A modification time as the local clock showed it: the instant (seconds and nanoseconds since
// the Unix epoch, UTC) and the local zone's UTC offset at that instant. Ordering by instant is
// ordering by date, then seconds of the day, then nanoseconds, all in UTC.
struct LocalDateTime {
    int64_t unix_seconds = 0;
    uint32_t nanoseconds = 0;
    int32_t utc_offset_seconds = 0;

    struct Civil {
        int64_t year;
        unsigned month;  // 1…12
        unsigned day;    // 1…31
        unsigned seconds_of_day;
    };
    // The local calendar date and time of day.
    Civil local() const;

    bool operator==(const LocalDateTime&) const = default;
};

enum class SortBy : uint8_t { Name = 0, Size = 1, Modified = 2, Type = 3 };
enum class SortOrder : uint8_t { Ascending = 0, Descending = 1 };
enum class ViewMode : uint8_t { List = 0, Grid = 1 };
enum class SyncState : uint8_t { Local = 0, Projected = 1, Downloading = 2 };

// One item of a folder. Lists of entries are replaced as a whole.
struct DirectoryEntry {
    std::string name;            // lossy UTF-8 of the raw file name
    std::filesystem::path path;  // raw bytes: the listed folder joined with the raw name
    std::string mime_type;
    bool is_folder = false;      // the item's own status, links not followed
    uint64_t size = 0;
    std::optional<LocalDateTime> modified;

    // Collaborative fields: only inside workspace roots.
    std::optional<collab::AvailabilityProjection> availability;
    std::optional<collab::MetadataProjection> metadata;
    std::optional<collab::ShareProjection> share;
    std::optional<collab::HistoryProjection> history;
    std::optional<std::array<uint8_t, 32>> content_hash;
    std::optional<std::array<uint8_t, 16>> record_id;
    std::optional<SyncState> sync_state;

    // Every field, strings and paths byte for byte (a path's own comparison walks its
    // components, which a refresh of a big folder cannot afford).
    bool operator==(const DirectoryEntry& o) const
    {
        return name == o.name && path.native() == o.path.native() && mime_type == o.mime_type && is_folder == o.is_folder
            && size == o.size && modified == o.modified && availability == o.availability && metadata == o.metadata
            && share == o.share && history == o.history && content_hash == o.content_hash && record_id == o.record_id
            && sync_state == o.sync_state;
    }
};

using EntryList = std::vector<DirectoryEntry>;

const char* to_string(SortBy);
const char* to_string(SortOrder);
const char* to_string(ViewMode);

}
