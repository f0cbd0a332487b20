#pragma once

namespace files::collab {

// Records the platform publishes about a synchronised file. Entries outside workspace roots never
// carry them; the readers that fill them validate every value before it is kept.
struct AvailabilityProjection {
    bool operator==(const AvailabilityProjection&) const = default;
};

struct MetadataProjection {
    bool operator==(const MetadataProjection&) const = default;
};

struct ShareProjection {
    bool operator==(const ShareProjection&) const = default;
};

struct HistoryProjection {
    bool operator==(const HistoryProjection&) const = default;
};

}
