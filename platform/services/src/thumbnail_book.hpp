#pragma once

#include "thumbnail_source.hpp"

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>

namespace kavo_services::thumbs {

struct ThumbJob {
    ThumbRequest request;
    ThumbSource source = ThumbSource::Content;
};

// The bounds on what the book keeps of finished requests.
struct BookLimits {
    size_t ready_entries = 2000;
    // Pictures are up to 256 KiB each; a count alone would let 2000 of them take 500 MiB.
    size_t ready_bytes = 128u << 20;
    size_t failed_entries = 20000;
};

// Which requests are queued, in work, ready or failed, and the queue order: higher priority
// first, then first come. Not thread-safe: the service guards it with its mutex.
class ThumbBook {
public:
    explicit ThumbBook(BookLimits limits = {}) : m_limits(limits) {}

    // False when nothing was queued: the key is pending, ready, or failed from the same source.
    // A queued request asked again with a higher priority moves up.
    bool enqueue(const ThumbRequest& request);
    // The next job, now in work; nothing when the queue is empty.
    std::optional<ThumbJob> take();
    // Settles a job in work; a null picture means it failed.
    void finish(const ThumbKey& key, std::shared_ptr<const ThumbPicture> picture);
    // Forgets every queued job; jobs in work stay.
    void drop_queued();

    size_t pending() const { return m_queue.size() + m_in_work; }
    ThumbStatus status(const ThumbKey& key) const;
    // The ready picture, marked as recently used; null otherwise.
    std::shared_ptr<const ThumbPicture> picture(const ThumbKey& key);

private:
    enum class State { Queued, InWork, Ready, Failed };
    struct Slot {
        int priority;
        uint64_t sequence;
        ThumbKey key;
        bool operator<(const Slot& other) const
        {
            if (priority != other.priority)
                return priority > other.priority;
            return sequence < other.sequence;
        }
    };
    struct Entry {
        State state = State::Queued;
        ThumbJob job;
        std::set<Slot>::iterator slot;
        std::list<ThumbKey>::iterator order;
        std::shared_ptr<const ThumbPicture> picture;
    };

    void forget(std::unordered_map<ThumbKey, Entry>::iterator it);
    void trim();
    static size_t picture_bytes(const ThumbPicture& picture);

    BookLimits m_limits;
    std::unordered_map<ThumbKey, Entry> m_entries;
    std::set<Slot> m_queue;
    size_t m_in_work = 0;
    uint64_t m_next_sequence = 0;
    // Most recently used first.
    std::list<ThumbKey> m_ready;
    size_t m_ready_bytes = 0;
    // Oldest last.
    std::list<ThumbKey> m_failed;
};

}
