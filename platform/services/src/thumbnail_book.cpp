#include "thumbnail_book.hpp"

namespace kavo_services::thumbs {

bool ThumbBook::enqueue(const ThumbRequest& request)
{
    const ThumbSource source = source_for(request);
    auto it = m_entries.find(request.key);
    if (it != m_entries.end()) {
        Entry& entry = it->second;
        switch (entry.state) {
        case State::Queued:
            if (request.priority > entry.slot->priority) {
                Slot slot = *entry.slot;
                slot.priority = request.priority;
                m_queue.erase(entry.slot);
                entry.slot = m_queue.insert(slot).first;
            }
            return false;
        case State::InWork:
        case State::Ready:
            return false;
        case State::Failed:
            // A failure is final for its source only: a file whose content arrived since its
            // platform picture failed gets one try from the content.
            if (entry.job.source == source)
                return false;
            forget(it);
            break;
        }
    }
    Entry entry;
    entry.job = {request, source};
    entry.slot = m_queue.insert({request.priority, m_next_sequence++, request.key}).first;
    m_entries.emplace(request.key, std::move(entry));
    return true;
}

std::optional<ThumbJob> ThumbBook::take()
{
    if (m_queue.empty())
        return std::nullopt;
    const ThumbKey key = m_queue.begin()->key;
    m_queue.erase(m_queue.begin());
    Entry& entry = m_entries.at(key);
    entry.state = State::InWork;
    ++m_in_work;
    return entry.job;
}

void ThumbBook::finish(const ThumbKey& key, std::shared_ptr<const ThumbPicture> picture)
{
    auto it = m_entries.find(key);
    if (it == m_entries.end() || it->second.state != State::InWork)
        return;
    --m_in_work;
    Entry& entry = it->second;
    if (picture) {
        entry.state = State::Ready;
        m_ready_bytes += picture_bytes(*picture);
        entry.picture = std::move(picture);
        m_ready.push_front(key);
        entry.order = m_ready.begin();
    } else {
        entry.state = State::Failed;
        m_failed.push_front(key);
        entry.order = m_failed.begin();
    }
    trim();
}

void ThumbBook::drop_queued()
{
    for (const Slot& slot : m_queue)
        m_entries.erase(slot.key);
    m_queue.clear();
}

ThumbStatus ThumbBook::status(const ThumbKey& key) const
{
    auto it = m_entries.find(key);
    if (it == m_entries.end())
        return ThumbStatus::Unknown;
    switch (it->second.state) {
    case State::Queued:
    case State::InWork:
        return ThumbStatus::Pending;
    case State::Ready:
        return ThumbStatus::Ready;
    case State::Failed:
        return ThumbStatus::Failed;
    }
    return ThumbStatus::Unknown;
}

std::shared_ptr<const ThumbPicture> ThumbBook::picture(const ThumbKey& key)
{
    auto it = m_entries.find(key);
    if (it == m_entries.end() || it->second.state != State::Ready)
        return nullptr;
    m_ready.splice(m_ready.begin(), m_ready, it->second.order);
    return it->second.picture;
}

void ThumbBook::forget(std::unordered_map<ThumbKey, Entry>::iterator it)
{
    Entry& entry = it->second;
    if (entry.state == State::Ready) {
        m_ready_bytes -= picture_bytes(*entry.picture);
        m_ready.erase(entry.order);
    } else if (entry.state == State::Failed) {
        m_failed.erase(entry.order);
    }
    m_entries.erase(it);
}

void ThumbBook::trim()
{
    // The newest picture stays even when it alone exceeds the byte bound.
    while (m_ready.size() > 1 && (m_ready.size() > m_limits.ready_entries || m_ready_bytes > m_limits.ready_bytes))
        forget(m_entries.find(m_ready.back()));
    while (m_failed.size() > m_limits.failed_entries)
        forget(m_entries.find(m_failed.back()));
}

size_t ThumbBook::picture_bytes(const ThumbPicture& picture) { return picture.pixels.size() * sizeof(uint32_t); }

}
